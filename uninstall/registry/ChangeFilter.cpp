#include "registry/ChangeFilter.h"

namespace {

ChangeFilter changeFilter = nullptr;

}  // namespace

ChangeFilter SetChangeFilter(ChangeFilter filter) {
  ChangeFilter previous = changeFilter;
  changeFilter = filter;
  return previous;
}

bool PassesChangeFilter(HKEY root, const char* fullName) {
  return changeFilter == nullptr || changeFilter(root, fullName);
}
