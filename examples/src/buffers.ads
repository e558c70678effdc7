--  Byte buffers; the body holds two deliberate faults.
with System;

package Buffers is

   type Buffer is array (1 .. 64) of Character;

   procedure Copy (Source : Buffer; Target : out Buffer);

private

   procedure Move (From, To : System.Address; Count : Natural);

end Buffers;
