--  A dispatcher task whose body waits on an entry of a task it declares.
procedure Dispatcher is

   task Server;

   task body Server is
      task Worker is
         entry Start;
      end Worker;

      task body Worker is
      begin
         accept Start;
      end Worker;
   begin
      --  Deliberate bug: an entry call made directly in the statements of
      --  the body to an entry declared in its own declarative part
      --  (Recursive Entry Call).
      Worker.Start;
   end Server;

begin
   null;
end Dispatcher;
