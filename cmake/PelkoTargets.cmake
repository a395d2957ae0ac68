# One interface target carries the language level and the warnings for every target.
add_library(pelko_options INTERFACE)
target_compile_features(pelko_options INTERFACE cxx_std_20)
target_compile_options(pelko_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wno-missing-field-initializers>)
# GCC 12 reports a false -Wrestrict inside std::string's operator+ at -O2 and above
# (GCC bug 105329); it says nothing about our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(pelko_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
target_compile_definitions(pelko_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_KEYWORDS)

# PELKO_SANITIZE=address,undefined instruments every target that links pelko_options
# (libraries, programs, tests); any report stops the program, so a test cannot pass over it.
if(PELKO_SANITIZE)
  string(REPLACE ";" "," pelko_sanitizers "${PELKO_SANITIZE}")
  set(pelko_sanitize_flags -fsanitize=${pelko_sanitizers} -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  target_compile_options(pelko_options INTERFACE ${pelko_sanitize_flags})
  target_link_options(pelko_options INTERFACE ${pelko_sanitize_flags})
  # With the instrumentation GCC warns of uninitialised members inside std::regex and
  # std::function that are set on every path; the normal build keeps the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(pelko_options INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Wno-maybe-uninitialized>)
  endif()
endif()

# pelko_module(NAME folder DEPS ...) builds every source of src/<folder> into pelko_<NAME>.
function(pelko_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(pelko_${name} STATIC ${sources})
  target_include_directories(pelko_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(pelko_${name} PUBLIC pelko_options ${ARG_DEPS})
endfunction()

# pelko_tests(NAME DEPS ...) builds every test source of tests/<folder> into one GoogleTest program.
function(pelko_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(pelko_${name}_tests ${sources})
  target_link_libraries(pelko_${name}_tests PRIVATE pelko_test_support ${ARG_DEPS} GTest::gtest_main)
  gtest_discover_tests(pelko_${name}_tests
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "PELKO_FIXTURES=${PROJECT_SOURCE_DIR}/tests/fixtures"
    DISCOVERY_TIMEOUT 60)
endfunction()
