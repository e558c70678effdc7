--  Singly linked lists of integers.
package Lists is

   type Node;
   type Node_Access is access Node;

   type Node is record
      Value : Integer;
      Next  : Node_Access;
   end record;

   function First_Value (List : Node_Access) return Integer;

   function Second_Value (List : Node_Access) return Integer;

end Lists;
