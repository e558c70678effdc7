-->STYLE: TAVIK
--  Counters, written to the TAVIK coding standard.
package Counters is

   type T_Counter is range 0 .. 1_000;

   procedure Increment (Counter : in out T_Counter);

   function Is_Full (Counter : in T_Counter) return Boolean;

end Counters;
