--  Plane vectors with integer coordinates.
package Vectors is

   type Vector is record
      X, Y : Integer;
   end record;

   function "-" (Left, Right : Vector) return Vector;

   --  Deliberate bug: the addition operator renames the subtraction.
   function "+" (Left, Right : Vector) return Vector renames "-";

   function Length_Squared (V : Vector) return Natural;

end Vectors;
