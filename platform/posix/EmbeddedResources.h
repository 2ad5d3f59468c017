#pragma once

#include <cstdint>

// One resource embedded at build time (cmake/ModuleResources.cmake generates the table).
// A resource has a name or, when `name` is null, the number `id`.
struct EmbeddedResource {
  const char* type;
  const char* name;
  int id;
  const uint8_t* begin;
  const uint8_t* end;
};

// The table, ended by an entry whose type is null. It is linked into the plug-in and the
// programs that ask for it (tarsyn7_use_resources); elsewhere the weak reference stays
// null and no resource is found.
extern const EmbeddedResource kEmbeddedResources[] __attribute__((weak));
