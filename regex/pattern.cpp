// Compiled patterns: creation and destruction, named patterns, and the compile cache.
#include "regex/pattern.h"

#include <cstdio>
#include <map>

#include "regex/compiler.h"

namespace rx {

namespace {

template <class Ch>
std::map<std::basic_string<Ch>, std::unique_ptr<BasicPattern<Ch>>>& CompileCache() {
  static std::map<std::basic_string<Ch>, std::unique_ptr<BasicPattern<Ch>>> cache;
  return cache;
}

}  // namespace

template <class Ch>
BasicPattern<Ch>::BasicPattern(const String& text, uint32_t flags) : text_(text), flags_(flags) {}

// Members go in reverse order: the own matcher, then the text, then every registered node.
template <class Ch>
BasicPattern<Ch>::~BasicPattern() = default;

template <class Ch>
bool BasicPattern<Ch>::Build() {
  Compiler<Ch> compiler(this);
  if (!compiler.Run()) return false;
  own_matcher_.Bind(this);
  return true;
}

template <class Ch>
std::unique_ptr<BasicPattern<Ch>> BasicPattern<Ch>::Compile(const String& text, uint32_t flags) {
  std::unique_ptr<BasicPattern> pattern(new BasicPattern(text, flags));
  if (!pattern->Build()) return nullptr;  // its nodes go with it
  return pattern;
}

template <class Ch>
bool BasicPattern<Ch>::RegisterNamedPattern(const String& name, const String& text,
                                            uint32_t flags) {
  {
    BasicPattern probe(text, flags);
    if (!probe.Build()) return false;
  }
  NamedPatternTable<Ch>()[name] = NamedPatternEntry<Ch>{text, flags};
  return true;
}

template <class Ch>
void BasicPattern<Ch>::ClearNamedPatterns() {
  NamedPatternTable<Ch>().clear();
}

template <class Ch>
BasicPattern<Ch>* BasicPattern<Ch>::CompileCached(const String& text, uint32_t flags) {
  auto& cache = CompileCache<Ch>();
  auto it = cache.find(text);
  if (it == cache.end()) it = cache.emplace(text, Compile(text, flags)).first;
  return it->second.get();
}

template <class Ch>
void BasicPattern<Ch>::ClearCompileCache() {
  CompileCache<Ch>().clear();
}

template <class Ch>
void BasicPattern<Ch>::PrintHeader() const {
  if constexpr (sizeof(Ch) == 1) std::printf("Pattern(%s):\n", text_.c_str());
}

template class BasicPattern<char>;
template class BasicPattern<wchar_t>;

}  // namespace rx
