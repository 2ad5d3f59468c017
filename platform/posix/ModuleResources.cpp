#include "platform/ModuleResources.h"

#include <strings.h>

#include "platform/posix/EmbeddedResources.h"

namespace {

template <typename Matches>
bool FindEmbedded(const char* type, Matches matches, ModuleResource& resource) {
  if (type == nullptr || kEmbeddedResources == nullptr) return false;
  for (const EmbeddedResource* entry = kEmbeddedResources; entry->type != nullptr; ++entry) {
    if (strcasecmp(entry->type, type) != 0 || !matches(*entry)) continue;
    resource.data = entry->begin;
    resource.size = static_cast<size_t>(entry->end - entry->begin);
    return true;
  }
  return false;
}

}  // namespace

bool FindModuleResource(const char* type, const char* name, ModuleResource& resource) {
  if (name == nullptr) return false;
  return FindEmbedded(
      type,
      [name](const EmbeddedResource& entry) {
        return entry.name != nullptr && strcasecmp(entry.name, name) == 0;
      },
      resource);
}

bool FindModuleResource(const char* type, int id, ModuleResource& resource) {
  return FindEmbedded(
      type, [id](const EmbeddedResource& entry) { return entry.name == nullptr && entry.id == id; },
      resource);
}
