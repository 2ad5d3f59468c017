#include "editor/BitmapCache.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "drawing/Png.h"
#include "platform/ModuleResources.h"
#include "platform/ReentrantLock.h"

namespace {

ReentrantLock& CacheLock() {
  static ReentrantLock lock;
  return lock;
}

std::map<int, std::unique_ptr<Bitmap>>& Cache() {
  static std::map<int, std::unique_ptr<Bitmap>> cache;
  return cache;
}

std::optional<Bitmap> DecodeResource(int id) {
  ModuleResource resource;
  if (!FindModuleResource("PNG", id, resource)) return std::nullopt;
  return DecodePng(resource.data, resource.size);
}

}  // namespace

const Bitmap* CachedBitmap(int id) {
  std::lock_guard<ReentrantLock> guard(CacheLock());
  auto found = Cache().find(id);
  if (found != Cache().end()) return found->second.get();
  std::optional<Bitmap> image = DecodeResource(id);
  if (!image) return nullptr;
  return Cache().emplace(id, std::make_unique<Bitmap>(std::move(*image))).first->second.get();
}

const Bitmap* CacheBitmap(int id, Bitmap image) {
  std::lock_guard<ReentrantLock> guard(CacheLock());
  auto& slot = Cache()[id];
  if (!slot) slot = std::make_unique<Bitmap>(std::move(image));
  return slot.get();
}
