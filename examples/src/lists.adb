--  Singly linked lists: bodies, with two deliberate pointer bugs.
with Ada.Text_IO;

package body Lists is

   function First_Value (List : Node_Access) return Integer is
   begin
      if List = null then
         --  Deliberate bug: the condition says List is null here.
         return List.Value;
      end if;
      return List.Value;
   end First_Value;

   function Second_Value (List : Node_Access) return Integer is
   begin
      --  Deliberate bug: "and" evaluates List.Next even when List is null.
      if List /= null and List.Next /= null then
         return List.Next.Value;
      end if;
      return 0;
   end Second_Value;

end Lists;
