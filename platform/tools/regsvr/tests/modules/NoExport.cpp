// A module that loads but exports no registration entry point.
extern "C" __attribute__((visibility("default"))) int regsvrTestNothingHere()
{
    return 0;
}
