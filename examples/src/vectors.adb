--  Plane vectors: bodies.
package body Vectors is

   function "-" (Left, Right : Vector) return Vector is
   begin
      return (X => Left.X - Right.X, Y => Left.Y - Right.Y);
   end "-";

   function Length_Squared (V : Vector) return Natural is
      Result : Natural;
   begin
      Result := V.X * V.X + V.Y * V.Y;
      return Result;
      --  Deliberate bug: nothing after the return can run.
      Result := 0;
   end Length_Squared;

end Vectors;
