// A library that hostide can load but that exports no INITEXPERT0016.
extern "C" int NotAnEntryPoint() { return 16; }
