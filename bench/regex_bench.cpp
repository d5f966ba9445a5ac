// The regular-expression engine on the program's own four uses, beside
// std::regex, Boost.Regex and PCRE2 (interpreter, and JIT where the pattern
// is compiled once) on the same inputs:
//   - a version token tested with the one-call wide Matches of "\d+",
//     compiled on every call as the version comparison does;
//   - the Emulex query line, compiled once, on a matching and a
//     non-matching line, with the seven group texts taken;
//   - ".*(\d+\.\d+\.\d+\.\d+).*" on an option ROM text (wide);
//   - "(\d+\.\d+\.\d+).*" on a kernel release (wide).
// Before timing, every engine's answer is checked against ours; a
// difference stops the benchmark with an error.
#define PCRE2_CODE_UNIT_WIDTH 0
#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <boost/regex.hpp>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "regex/pattern.h"

namespace {

const std::wstring kTokens[] = {L"5", L"06", L"1607", L"05a"};

const char kQueryPattern[] =
    "HBA=(.+),.*PCI ID=(\\w{1,4}),.*VID=(\\w{1,4}),.*SSID=(\\w{1,4}),.*SVID=(\\w{1,4}),"
    ".*Firmware=(.+),.*Boot Code=([\\w\\.]+).*";
const std::string kQueryMatch =
    "HBA=LPe12002-M8,PCI ID=F100,VID=10DF,SSID=F100,SVID=10DF,Firmware=US2.01A12,"
    "Boot Code=UU5.12A0";
const std::string kQueryNoMatch =
    "HBA=LPe12002-M8,PCI ID=F100,VID=10DF,SSID=F100,SVID=10DF,Firmware=US2.01A12,"
    "Boot Code=-5.12A0";

const wchar_t kRomPattern[] = L".*(\\d+\\.\\d+\\.\\d+\\.\\d+).*";
const std::wstring kRomText = L"BIOS version 3.1.0.2 (x86 boot code)";
const wchar_t kKernelPattern[] = L"(\\d+\\.\\d+\\.\\d+).*";
const std::wstring kKernelText = L"2.6.32-431.el6.x86_64";

// The answer of one use: whether it matched and the group texts.
struct Answer {
  bool matched = false;
  std::vector<std::wstring> groups;
  bool operator==(const Answer& o) const { return matched == o.matched && groups == o.groups; }
};

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// --- ours -----------------------------------------------------------------

Answer Ours(const std::unique_ptr<Pattern>& p, const std::string& text) {
  Answer a;
  auto m = p->NewMatcher(text);
  a.matched = m->Matches();
  if (a.matched)
    for (const std::string& g : m->Groups(false)) a.groups.push_back(Wide(g));
  return a;
}

Answer Ours(const std::unique_ptr<WidePattern>& p, const std::wstring& text) {
  Answer a;
  auto m = p->NewMatcher(text);
  a.matched = m->Matches();
  if (a.matched) a.groups = m->Groups(false);
  return a;
}

// --- std::regex and Boost.Regex ---------------------------------------------

template <class Regex, class Results, class Text, class Fn>
Answer Library(const Regex& re, const Text& text, Fn match) {
  Answer a;
  Results r;
  a.matched = match(text, r, re);
  if (a.matched)
    for (size_t i = 1; i < r.size(); ++i) {
      const auto s = r[i].str();
      a.groups.push_back(std::wstring(s.begin(), s.end()));
    }
  return a;
}

Answer Std(const std::regex& re, const std::string& t) {
  return Library<std::regex, std::smatch>(
      re, t, [](const std::string& s, std::smatch& r, const std::regex& e) {
        return std::regex_match(s, r, e);
      });
}
Answer Std(const std::wregex& re, const std::wstring& t) {
  return Library<std::wregex, std::wsmatch>(
      re, t, [](const std::wstring& s, std::wsmatch& r, const std::wregex& e) {
        return std::regex_match(s, r, e);
      });
}
Answer Boost(const boost::regex& re, const std::string& t) {
  return Library<boost::regex, boost::smatch>(
      re, t, [](const std::string& s, boost::smatch& r, const boost::regex& e) {
        return boost::regex_match(s, r, e);
      });
}
Answer Boost(const boost::wregex& re, const std::wstring& t) {
  return Library<boost::wregex, boost::wsmatch>(
      re, t, [](const std::wstring& s, boost::wsmatch& r, const boost::wregex& e) {
        return boost::regex_match(s, r, e);
      });
}

// --- PCRE2, 8-bit for narrow texts and 32-bit for wide ones -----------------

// Whole-text matches are asked for at compile time: the JIT takes no
// anchoring options at match time.
const uint32_t kWhole = PCRE2_ANCHORED | PCRE2_ENDANCHORED;

struct Pcre8 {
  pcre2_code_8* code = nullptr;
  pcre2_match_data_8* data = nullptr;
  Pcre8(const char* pattern, uint32_t options, bool jit) {
    int error;
    PCRE2_SIZE offset;
    code = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(pattern), PCRE2_ZERO_TERMINATED,
                           options | kWhole, &error, &offset, nullptr);
    if (jit) pcre2_jit_compile_8(code, PCRE2_JIT_COMPLETE);
    data = pcre2_match_data_create_from_pattern_8(code, nullptr);
  }
  ~Pcre8() {
    pcre2_match_data_free_8(data);
    pcre2_code_free_8(code);
  }
  Answer Run(const std::string& text) const {
    Answer a;
    const int rc = pcre2_match_8(code, reinterpret_cast<PCRE2_SPTR8>(text.data()), text.size(), 0,
                                 0, data, nullptr);
    a.matched = rc > 0;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer_8(data);
    for (int i = 1; a.matched && i < rc; ++i)
      a.groups.push_back(Wide(text.substr(ov[2 * i], ov[2 * i + 1] - ov[2 * i])));
    return a;
  }
};

struct Pcre32 {
  pcre2_code_32* code = nullptr;
  pcre2_match_data_32* data = nullptr;
  Pcre32(const wchar_t* pattern, uint32_t options, bool jit) {
    int error;
    PCRE2_SIZE offset;
    code = pcre2_compile_32(reinterpret_cast<PCRE2_SPTR32>(pattern), PCRE2_ZERO_TERMINATED,
                            options | kWhole, &error, &offset, nullptr);
    if (jit) pcre2_jit_compile_32(code, PCRE2_JIT_COMPLETE);
    data = pcre2_match_data_create_from_pattern_32(code, nullptr);
  }
  ~Pcre32() {
    pcre2_match_data_free_32(data);
    pcre2_code_free_32(code);
  }
  Answer Run(const std::wstring& text) const {
    Answer a;
    const int rc = pcre2_match_32(code, reinterpret_cast<PCRE2_SPTR32>(text.data()), text.size(), 0,
                                  0, data, nullptr);
    a.matched = rc > 0;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer_32(data);
    for (int i = 1; a.matched && i < rc; ++i)
      a.groups.push_back(text.substr(ov[2 * i], ov[2 * i + 1] - ov[2 * i]));
    return a;
  }
};

// Checks an engine's answer against ours once, before timing.
template <class Fn>
bool Agrees(benchmark::State& state, const Answer& expected, Fn run) {
  if (run() == expected) return true;
  state.SkipWithError("answer differs from the engine's own");
  return false;
}

// --- 1. version token, compiled per call -------------------------------------

bool OursToken(const std::wstring& t) { return WidePattern::Matches(L"\\d+", t, 0); }
bool StdToken(const std::wstring& t) { return std::regex_match(t, std::wregex(L"\\d+")); }
bool BoostToken(const std::wstring& t) { return boost::regex_match(t, boost::wregex(L"\\d+")); }
bool PcreToken(const std::wstring& t) { return Pcre32(L"\\d+", 0, false).Run(t).matched; }

template <bool (*Fn)(const std::wstring&)>
void BM_VersionToken(benchmark::State& state) {
  for (const std::wstring& t : kTokens) {
    if (Fn(t) != OursToken(t)) return state.SkipWithError("answer differs");
  }
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Fn(kTokens[i++ & 3]));
}
BENCHMARK(BM_VersionToken<OursToken>)->Name("VersionToken/ours");
BENCHMARK(BM_VersionToken<PcreToken>)->Name("VersionToken/pcre2");
BENCHMARK(BM_VersionToken<BoostToken>)->Name("VersionToken/boost");
BENCHMARK(BM_VersionToken<StdToken>)->Name("VersionToken/std");

// --- 2. to 4.: compiled once ------------------------------------------------

enum Use { kQueryHit, kQueryMiss, kRom, kKernel };

Answer Expected(Use use) {
  switch (use) {
    case kQueryHit:
    case kQueryMiss:
      return Ours(Pattern::Compile(kQueryPattern, DotMatchesAll),
                  use == kQueryHit ? kQueryMatch : kQueryNoMatch);
    case kRom:
      return Ours(WidePattern::Compile(kRomPattern, DotMatchesAll), kRomText);
    default:
      return Ours(WidePattern::Compile(kKernelPattern, DotMatchesAll), kKernelText);
  }
}

template <class Fn>
void Time(benchmark::State& state, Use use, Fn run) {
  if (!Agrees(state, Expected(use), run)) return;
  for (auto _ : state) benchmark::DoNotOptimize(run());
}

void BM_Ours(benchmark::State& state, Use use) {
  std::unique_ptr<Pattern> narrow = Pattern::Compile(kQueryPattern, DotMatchesAll);
  std::unique_ptr<WidePattern> wide =
      WidePattern::Compile(use == kRom ? kRomPattern : kKernelPattern, DotMatchesAll);
  if (use == kQueryHit || use == kQueryMiss) {
    const std::string& line = use == kQueryHit ? kQueryMatch : kQueryNoMatch;
    return Time(state, use, [&] { return Ours(narrow, line); });
  }
  const std::wstring& text = use == kRom ? kRomText : kKernelText;
  Time(state, use, [&] { return Ours(wide, text); });
}

void BM_Pcre(benchmark::State& state, Use use, bool jit) {
  if (use == kQueryHit || use == kQueryMiss) {
    const Pcre8 re(kQueryPattern, PCRE2_DOTALL, jit);
    const std::string& line = use == kQueryHit ? kQueryMatch : kQueryNoMatch;
    return Time(state, use, [&] { return re.Run(line); });
  }
  const Pcre32 re(use == kRom ? kRomPattern : kKernelPattern, PCRE2_DOTALL, jit);
  const std::wstring& text = use == kRom ? kRomText : kKernelText;
  Time(state, use, [&] { return re.Run(text); });
}

// std::regex has no dot-matches-all flag; none of these subjects holds a
// line end, so its answers are the same.
void BM_Std(benchmark::State& state, Use use) {
  if (use == kQueryHit || use == kQueryMiss) {
    const std::regex re(kQueryPattern);
    const std::string& line = use == kQueryHit ? kQueryMatch : kQueryNoMatch;
    return Time(state, use, [&] { return Std(re, line); });
  }
  const std::wregex re(use == kRom ? kRomPattern : kKernelPattern);
  const std::wstring& text = use == kRom ? kRomText : kKernelText;
  Time(state, use, [&] { return Std(re, text); });
}

// Boost's Perl syntax lets "." match line ends by default, as DotMatchesAll.
void BM_Boost(benchmark::State& state, Use use) {
  if (use == kQueryHit || use == kQueryMiss) {
    const boost::regex re(kQueryPattern);
    const std::string& line = use == kQueryHit ? kQueryMatch : kQueryNoMatch;
    return Time(state, use, [&] { return Boost(re, line); });
  }
  const boost::wregex re(use == kRom ? kRomPattern : kKernelPattern);
  const std::wstring& text = use == kRom ? kRomText : kKernelText;
  Time(state, use, [&] { return Boost(re, text); });
}

void Register(const char* name, Use use) {
  const std::string n = name;
  benchmark::RegisterBenchmark((n + "/ours").c_str(), BM_Ours, use);
  benchmark::RegisterBenchmark((n + "/pcre2").c_str(), BM_Pcre, use, false);
  benchmark::RegisterBenchmark((n + "/pcre2-jit").c_str(), BM_Pcre, use, true);
  benchmark::RegisterBenchmark((n + "/boost").c_str(), BM_Boost, use);
  benchmark::RegisterBenchmark((n + "/std").c_str(), BM_Std, use);
}

}  // namespace

int main(int argc, char** argv) {
  Register("EmulexLine/match", kQueryHit);
  Register("EmulexLine/nomatch", kQueryMiss);
  Register("OptionRom", kRom);
  Register("KernelRelease", kKernel);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
