// The dependency of needs_missing_library; its build folder is kept off the
// loader's search path.
extern "C" int MissingDependencyValue() { return 1; }
