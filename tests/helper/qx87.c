/* A program compiled for the i386 (-march=i386), linked with nothing but its
   own code, that multiplies in floating point: the x87 instructions it
   needs take a maths coprocessor, which many 386 and 486SX machines lack.
   The CPU check must reject it. It is built, never run. */
__declspec(dllimport) void __stdcall ExitProcess(unsigned int uExitCode);

static volatile int input = 800;

void start(void)
{
    ExitProcess((unsigned int)(input * 0.95f));
}
