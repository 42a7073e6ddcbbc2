# Compiler settings shared by every target, and the third-party include folder.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
endif()

if(ORVALIS_SANITIZE OR ORVALIS_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ORVALIS_FUZZ)
  # Coverage for libFuzzer everywhere; only the fuzz programs link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# nlohmann-json is header-only; Debian installs it under /usr/include. The Windows
# compilers must not see the rest of /usr/include, so expose only its folder.
set(ORVALIS_THIRDPARTY_INCLUDE ${CMAKE_BINARY_DIR}/thirdparty-include)
file(MAKE_DIRECTORY ${ORVALIS_THIRDPARTY_INCLUDE})
if(NOT EXISTS ${ORVALIS_THIRDPARTY_INCLUDE}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${ORVALIS_THIRDPARTY_INCLUDE}/nlohmann SYMBOLIC)
endif()

if(WIN32)
  # No mingw DLLs beside the programs: everything static, no debug info in the release.
  add_link_options(-static -static-libgcc -static-libstdc++)
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
    add_compile_options(-ffunction-sections -fdata-sections)
    add_link_options(-s -Wl,--gc-sections)
  endif()
  # Test programs run under wine64 with a prefix of their own inside the build folder.
  if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ORVALIS_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
  endif()
endif()

# Paths to test data as the program under test sees them (Wine maps / to Z:).
if(WIN32)
  set(ORVALIS_TEST_PATH_PREFIX "Z:")
else()
  set(ORVALIS_TEST_PATH_PREFIX "")
endif()

# orvalis_add_version_resource(target "Description"): gives a Windows program the version
# resource, with the file version of project() above.
function(orvalis_add_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(ORVALIS_RC_NAME ${target})
  set(ORVALIS_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_BINARY_DIR}/version-rc/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
