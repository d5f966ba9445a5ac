// Times the Emulex query-line parse for every line of the given files (for
// example a fuzzing corpus) and prints the slowest lines, so that we know
// how long adversarial tool output can hold a run up.
//
// It is meant to run without instrumentation, so it is built on its own:
//   g++ -std=c++17 -O2 -I. fuzz/time_query_lines.cpp vendors/emulex/query_line.cpp \
//       regex/{backtrack,char_set,compiler,matcher,nodes,pattern}.cpp \
//       $(pkg-config --cflags libxml-2.0) -o build-fuzz/time_query_lines
//   build-fuzz/time_query_lines build-fuzz/corpus/emulex_query/*
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "vendors/emulex/emulex_component.h"

namespace {

struct Timing {
  double seconds;
  size_t length;
  std::string file;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<Timing> timings;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    for (const std::string& line : EmulexComp::SplitLines(content.str())) {
      if (line.size() > 4096) continue;
      double best = 1e9;
      // The best of three runs, so a scheduling hiccup does not count.
      for (int run = 0; run < 3; ++run) {
        EmulexComp::QueryLine parsed;
        const auto start = std::chrono::steady_clock::now();
        (void)EmulexComp::ParseQueryLine(line, &parsed);
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count());
      }
      timings.push_back({best, line.size(), argv[i]});
    }
  }
  std::sort(timings.begin(), timings.end(),
            [](const Timing& a, const Timing& b) { return a.seconds > b.seconds; });
  std::printf("%zu lines\n", timings.size());
  for (size_t i = 0; i < timings.size() && i < 10; ++i) {
    std::printf("%12.6f s  %5zu bytes  %s\n", timings[i].seconds, timings[i].length,
                timings[i].file.c_str());
  }
  return 0;
}
