#include "scripted/fixed_system.h"

#include "host/host_error.h"

namespace tezlo {

void FixedSystem::SetUnreadable(Source source, bool unreadable) {
  if (unreadable) {
    unreadable_.insert(source);
  } else {
    unreadable_.erase(source);
  }
}

void FixedSystem::ThrowIfUnreadable(Source source, const char* what) const {
  if (unreadable_.contains(source)) throw HostError(std::string(what) + " cannot be read");
}

CalendarDate FixedSystem::Today() {
  ThrowIfUnreadable(Source::Today, "The date");
  return today_;
}

std::vector<ProcessInfo> FixedSystem::Processes() {
  ThrowIfUnreadable(Source::Processes, "The process list");
  return processes_;
}

std::vector<std::string> FixedSystem::DriveFolderListing() {
  ThrowIfUnreadable(Source::DriveFolderListing, "The drive listing");
  return listing_;
}

std::vector<std::string> FixedSystem::DesktopItems() {
  ThrowIfUnreadable(Source::DesktopItems, "The desktop");
  return desktop_;
}

std::string FixedSystem::TemplateFolder() {
  ThrowIfUnreadable(Source::TemplateFolder, "The template folder");
  return templateFolder_;
}

PointerPosition FixedSystem::Pointer() {
  ThrowIfUnreadable(Source::Pointer, "The pointer position");
  return pointer_;
}

}  // namespace tezlo
