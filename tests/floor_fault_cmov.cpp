// Code that a compiler for the Pentium Pro turns into CMOV: a branch-free choice of the larger
// of two values. Linked into a program built the wrong way, never called.
extern "C" int __cdecl LargerOf(int first, int second) { return first > second ? first : second; }
