-->STYLE: TAVIK_95
--  Sensor readings, written to the TAVIK_95 coding standard, with one
--  deliberate lapse of each kind that standard checks (the comments say
--  which).
with Ada.Text_IO;

package Sensors is

   type T_READING is range 0 .. 4_095;

   type T_SENSOR is record
      Last : T_READING := 0;
   end record;

   --  Lapse: an access type to a class-wide type must end in "_class"
   --  (Bad Access Type).
   type T_ROOT is tagged null record;
   type P_ROOT_PTR is access T_ROOT'class;

   --  Lapse: a variable in a package specification (No Variable In
   --  Specification).
   Current : T_SENSOR;

   procedure Record_Value (Sensor : in out T_SENSOR; Value : in T_READING);

   --  Lapse: the first parameter of the file wrote "in", this one does not
   --  (Wrong Mode).
   procedure Reset (Sensor : out T_SENSOR; Value : T_READING);

   procedure Reset (Sensor : out T_SENSOR);

   procedure Report (Sensor : in T_SENSOR);

end Sensors;
