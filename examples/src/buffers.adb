--  Byte buffers: bodies.
package body Buffers is

   --  Deliberate bug: Overflow is declared for Copy to raise when the
   --  buffers overlap, but nothing ever raises it (Exception Not Raised).
   Overflow : exception;

   procedure Move (From, To : System.Address; Count : Natural) is
      Source : String (1 .. Count);
      for Source'Address use From;
      Target : String (1 .. Count);
      for Target'Address use To;
   begin
      Target := Source;
   end Move;

   procedure Copy (Source : Buffer; Target : out Buffer) is
   begin
      --  Deliberate bug: 'Size counts bits, Move wants a count of
      --  characters (Wrong Granularity); Source'Size / 8 was meant.
      Move (Source'Address, Target'Address, Source'Size);
   end Copy;

end Buffers;
