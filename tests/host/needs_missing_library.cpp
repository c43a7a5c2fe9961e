// A library that needs another one which cannot be found when it is loaded,
// as the add-in needs its hook library.
extern "C" int MissingDependencyValue();
extern "C" bool INITEXPERT0016(void*, void*, void*) { return MissingDependencyValue() == 1; }
