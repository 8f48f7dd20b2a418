# 32-bit Windows: the shipped module.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The processor of the simulator's own machines: the original Pentium
# (i586: no cmov, no fcomi, no MMX, no SSE, no 3DNow!), for every program
# of this build.  CMakeLists.txt applies it to every target;
# tests/static/check_pentium.py holds the built files to it.
set(PELMORA_PROCESSOR_FLAGS -march=pentium -mno-mmx -mno-sse -mno-3dnow)
