/* A program compiled for the i486 (-march=i486), linked with nothing but its
   own code: the byte swap in start() becomes the i486's BSWAP, which the
   i386 does not have. The CPU check must reject it. It is built, never
   run. */
__declspec(dllimport) void __stdcall ExitProcess(unsigned int uExitCode);

static volatile unsigned int input = 0x12345678u;

void start(void)
{
    ExitProcess(__builtin_bswap32(input));
}
