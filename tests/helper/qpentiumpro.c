/* A program compiled for the Pentium Pro (-march=pentiumpro), linked with
   nothing but its own code: the choice in pick() becomes a conditional
   move, which the i386 and i486 do not have. The CPU check must reject it. It is
   built, never run. */
__declspec(dllimport) void __stdcall ExitProcess(unsigned int uExitCode);

static volatile int inputs[3] = {1, 2, 3};

static int pick(int a, int b, int c)
{
    return a < b ? c : a;
}

void start(void)
{
    ExitProcess((unsigned int)pick(inputs[0], inputs[1], inputs[2]));
}
