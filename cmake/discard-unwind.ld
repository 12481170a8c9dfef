/* Added to the default linker script (INSERT): libz.a is built with unwind tables, but
   setup.exe has no exceptions and no unwinder that could read them. */
SECTIONS
{
  /DISCARD/ : { *(.eh_frame) }
}
INSERT BEFORE .text;
