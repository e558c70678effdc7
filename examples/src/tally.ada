--  Deliberate syntax error: the if statement lacks its "then". (The ".ada"
--  naming keeps this file out of the compiler check that every ".ads" and
--  ".adb" example passes; Flawseek analyses ".ada" files alike.)
procedure Tally is
   Count : Integer := 3;
begin
   if Count > 2
      Count := 0;
   end if;
end Tally;
