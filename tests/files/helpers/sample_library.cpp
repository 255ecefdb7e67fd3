// A shared library for the binding tests.
extern "C" int TmvSampleAnswer() { return 42; }
