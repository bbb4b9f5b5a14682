# One INTERFACE target carries the language standard, warnings and sanitizer
# switches for every target of the project.
add_library(paradrex_options INTERFACE)
target_compile_features(paradrex_options INTERFACE cxx_std_20)
target_compile_options(paradrex_options INTERFACE -Wall -Wextra)
target_compile_definitions(paradrex_options INTERFACE
    _FILE_OFFSET_BITS=64
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

option(PARADREX_WERROR "Treat compiler warnings as errors" OFF)
if(PARADREX_WERROR)
    target_compile_options(paradrex_options INTERFACE -Werror)
endif()

option(PARADREX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(PARADREX_TSAN "Build with ThreadSanitizer" OFF)
if(PARADREX_SANITIZE)
    target_compile_options(paradrex_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(paradrex_options INTERFACE -fsanitize=address,undefined)
endif()
if(PARADREX_TSAN)
    target_compile_options(paradrex_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(paradrex_options INTERFACE -fsanitize=thread)
endif()
if(CMAKE_BUILD_TYPE STREQUAL "Debug" OR PARADREX_SANITIZE)
    target_compile_definitions(paradrex_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()

# A layer library made of every source file in its folder.
function(paradrex_layer name)
    cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC paradrex_options ${L_DEPS})
endfunction()
