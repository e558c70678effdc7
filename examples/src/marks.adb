--  Comment commands: a mark that hides a finding known to be harmless, and
--  one with nothing to hide (reported with --style superfluous_code_mark).
procedure Marks is

   Total : Integer := 0;

   procedure Add (Amount : Integer) is
   begin
      Total := Total + Amount;
      return;
      Total := 0; -->CNR: kept for the next release
   end Add;

begin
   Add (2);
   Total := Total * 2; -->NP: there is no pointer on this line
end Marks;
