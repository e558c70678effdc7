-->STYLE: TAVIK_95
--  Sensor readings: bodies, with the remaining lapses.
package body Sensors is

   --  Lapse: a use clause for a package (No Package Use Clause).
   use Ada.Text_IO;

   package Text renames Ada.Text_IO;

   procedure Record_Value (Sensor : in out T_SENSOR; Value : in T_READING) is
   begin
      Sensor.Last := Value;
   end Record_Value;

   procedure Reset (Sensor : out T_SENSOR; Value : T_READING) is
   begin
      Sensor.Last := Value;
   end Reset;

   procedure Reset (Sensor : out T_SENSOR) is
   begin
      --  Lapse: named and positional associations mixed (Inconsistent
      --  Parameter Association).
      Reset (Sensor, Value => 0);
   end Reset;

   procedure Report (Sensor : in T_SENSOR) is
      --  Lapse: a letter above code 127 in a name (Character Not Portable).
      C_MÄX : constant T_READING := T_READING'LAST;  -- Lapse: the attribute in upper case (Bad Attribute)
      --  Lapse: a second Current, hiding the one of the specification (No
      --  Declaration Overloading).
      Current : T_READING := Sensor.Last;
   begin
      Current := Current + 1;
      --  Lapse: the package name spelled unlike its renaming (Inconsistent
      --  Package Name).
      TEXT.Put_Line (T_READING'image (Current) & " of" & T_READING'image (C_MÄX) & " (a long line that goes on and on past the limit of 132 characters)");
      --  Lapse: the line above is longer than 132 characters (Line Too Long).
      if Sensor.Last = 0 then
         --  Lapse: a goto statement (No Goto Statements).
         goto Done;
      end if;
      Put_Line ("reading taken");
      <<Done>>
      null;
   end Report;

   task T_MONITOR;

   --  Lapse: a task body without a handler for others (Handle Task
   --  Exceptions), and its end without its name (Identifier Missing).
   task body T_MONITOR is
   begin
      pragma list (Off);  -- Lapse: the pragma name in lower case (Bad Pragma)
      Put_Line ("monitor started");
   end;

end Sensors;
