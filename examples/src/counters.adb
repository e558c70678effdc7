-->STYLE: TAVIK
--  Counters: bodies. The upper-case keywords (Bad Keyword) and the
--  lower-case constant name, which also lacks the "C_" prefix of constants
--  (Bad Identifier, Bad Prefix), break the standard the command above
--  selects.
package body Counters is

   PROCEDURE Increment (Counter : in out T_COUNTER) is
   begin
      if not Is_Full (Counter) then
         Counter := Counter + 1;
      end if;
   END Increment;

   function Is_Full (Counter : in T_COUNTER) return BOOLEAN is
      last_value : constant T_COUNTER := T_COUNTER'last;
   begin
      return Counter = last_value;
   end Is_Full;

end Counters;
