#pragma once
// The process-wide list of classes a stream may create by name. Registering
// a class registers its ancestors too; names compare without case.
// User-interface thread only, like every other process-wide list.

#include <initializer_list>
#include <string_view>

namespace orvella {

class TClassInfo;

// A second, different class under a registered name raises EFilerError
// ("クラス名 %s はすでに使われています"); registering the same class again
// does nothing.
void RegisterClass(const TClassInfo& info);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
// Removes the class itself (not its ancestors).
void UnRegisterClass(const TClassInfo& info);

// The registered class of that name, or nullptr.
const TClassInfo* GetClass(std::string_view name);
// As GetClass, but a missing name raises EClassNotFound ("クラス %s が見つかりません").
const TClassInfo& FindClass(std::string_view name);

}  // namespace orvella
