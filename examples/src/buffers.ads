--  Byte buffers, with two deliberate faults.
with System;

package Buffers is

   type Buffer is array (1 .. 64) of Character;

   --  Deliberate bug: Overflow is declared for the callers, but nothing
   --  in the package ever raises it (Exception Not Raised).
   Overflow : exception;

   procedure Copy (Source : Buffer; Target : out Buffer);

private

   procedure Move (From, To : System.Address; Count : Natural);

end Buffers;
