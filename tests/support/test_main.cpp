// Entry point of the test programs: the framework is set up around the
// test application object, then GoogleTest runs.
#include "TestSupport.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL))
        return 2;
    return RUN_ALL_TESTS();
}
