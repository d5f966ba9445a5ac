# Builds the 32-bit x86 program, the form it ships in: the vendor libraries
# it loads on the servers are 32-bit, and a process of another word size
# cannot load them. The libraries come from Debian's i386 multiarch
# packages; test programs run through qemu-i386 on a machine whose kernel
# may not execute i386 programs.
#
#   cmake -S . -B build-i386 -DCMAKE_TOOLCHAIN_FILE=cmake/i386-toolchain.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)

# pkg-config answers for the i386 libxml2, not the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# ctest and gtest_discover_tests start the test programs through the
# emulator; "-L /" takes the i386 loader and libraries from this machine.
find_program(HBAFW_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${HBAFW_QEMU_I386} -L /)
