#pragma once

// Marks the plug-in's entry points for export from the shared library.
#if defined(_WIN32)
#define TARSYN7_EXPORT extern "C" __declspec(dllexport)
#else
#define TARSYN7_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Hosts look the entry point up under a second name, "main". Windows builds export
// that name through the module definition file; elsewhere an assembler label gives a
// forwarding function that symbol name (a C++ function cannot be called main).
#if defined(_WIN32)
#define TARSYN7_EXPORT_AS_MAIN(ReturnType, function, ParameterType)
#else
#define TARSYN7_EXPORT_AS_MAIN(ReturnType, function, ParameterType)                   \
  TARSYN7_EXPORT ReturnType function##AsMain(ParameterType argument) __asm__("main"); \
  ReturnType function##AsMain(ParameterType argument) {                               \
    return function(argument);                                                        \
  }
#endif
