// The one application object of the program.
#include "QuellonApp.h"

CQuellonApp theApp;
