-->STYLE: TAVIK
--  Counters: bodies. The upper-case keywords and the lower-case name break
--  the standard the command above selects.
package body Counters is

   PROCEDURE Increment (Counter : in out T_Counter) is
   begin
      if not Is_Full (Counter) then
         Counter := Counter + 1;
      end if;
   END Increment;

   function Is_Full (Counter : in T_Counter) return Boolean is
      last_value : constant T_Counter := T_Counter'Last;
   begin
      return Counter = last_value;
   end Is_Full;

end Counters;
