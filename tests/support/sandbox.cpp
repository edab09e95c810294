#include "sandbox.h"

#include "homefolders.h"

TestSandbox::TestSandbox()
{
    if (!dir_.isValid())
        qFatal("cannot create a temporary home folder");
    pointhomeat(dir_.path());
}
