#pragma once

#include <cstddef>
#include <cstdint>

// Bytes stored inside the plug-in's own file (images, factory banks). They live as long
// as the module and are never written.
struct ModuleResource {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// Finds the resource of `type` stored under `name`, or under the number `id`, in the file
// the plug-in was loaded from. Types and names compare without regard to case. False,
// with `resource` unchanged, when there is none.
bool FindModuleResource(const char* type, const char* name, ModuleResource& resource);
bool FindModuleResource(const char* type, int id, ModuleResource& resource);
