--  A small program using the example packages.
with Ada.Text_IO;
with Counters;
with Lists;
with Vectors;

procedure Demo is
   use type Vectors.Vector;

   A       : constant Vectors.Vector := (X => 3, Y => 4);
   B       : Vectors.Vector;
   Count   : Counters.T_COUNTER := 0;
   Spare   : Integer;
   List    : constant Lists.Node_Access :=
     new Lists.Node'(Value => 1, Next => null);
begin
   B := A + A;
   Counters.Increment (Count);
   Ada.Text_IO.Put_Line
     (Integer'Image (Vectors.Length_Squared (B))
      & Integer'Image (Lists.First_Value (List)));
end Demo;
