-->STYLE: TAVIK
--  Counters, written to the TAVIK coding standard. One lapse: TAVIK wants
--  the predefined type names in upper case, and Boolean is not
--  (Not Uppercase).
package Counters is

   type T_COUNTER is range 0 .. 1_000;

   procedure Increment (Counter : in out T_COUNTER);

   function Is_Full (Counter : in T_COUNTER) return Boolean;

end Counters;
