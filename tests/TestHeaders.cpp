// The object that carries the test targets' shared precompiled header (tests/CMakeLists.txt); it has no code.
