# Win32 build (mingw-w64 i686): the Win32 layer, tools and the test executable run under Wine.
# Filled in by the Win32 build work.
