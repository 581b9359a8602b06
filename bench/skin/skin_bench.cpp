// A skin of 200 parameters and 4 sides loaded into a desklet, beside the
// bare libxml2 parse of the same file; and one statement of 20 tokens
// expanded.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/load/skin_loader.h"

namespace {

constexpr HWND kWindow = 0x5100;

const std::string& SkinFile() {
  static const std::string path = [] {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<skindata>\n"
                    "  <skininfo><name>Bench</name><version>1</version></skininfo>\n  <parameters>\n";
    for (int i = 0; i < 200; ++i) {
      const std::string n = std::to_string(i);
      s += "    <param name=\"param" + n + "\" default=\"value " + n + "\" save=\"1\" onupdate=\"u" + n + "()\"/>\n";
    }
    s += "  </parameters>\n  <sides>\n";
    for (int i = 0; i < 4; ++i)
      s += "    <side id=\"" + std::to_string(i) + "\" width=\"200\" height=\"150\" closex=\"190\" closey=\"4\"/>\n";
    s += "  </sides>\n  <desklet><label>Bench</label></desklet>\n</skindata>\n";
    const std::string file = (std::filesystem::temp_directory_path() / "vorel-skin-bench.xml").string();
    std::ofstream(file) << s;
    return file;
  }();
  return path;
}

struct Desklet {
  Desklet() {
    testhost::TestHost::Get().Reset();
    instance = OnCreate(kWindow, 1, nullptr, nullptr);
  }
  ~Desklet() { OnDestroy(instance, kWindow); }
  vorel::TDeskletObject& D() { return *vorel::AsDesklet(instance); }
  void* instance;
};

void BM_BareParse(benchmark::State& state) {
  const std::string& file = SkinFile();
  for (auto _ : state) {
    xmlDocPtr doc = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET);
    benchmark::DoNotOptimize(doc);
    xmlFreeDoc(doc);
  }
}
BENCHMARK(BM_BareParse);

void BM_LoadSkin(benchmark::State& state) {
  const std::string& file = SkinFile();
  Desklet desklet;
  for (auto _ : state) {
    desklet.D().parameters.clear();
    benchmark::DoNotOptimize(vorel::LoadSkin(desklet.D(), file, true, false));
    state.PauseTiming();
    // The recording host keeps every call; drop them between loads.
    testhost::TestHost::Get().Reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadSkin)->Iterations(1000);

void BM_Expand20Tokens(benchmark::State& state) {
  Desklet desklet;
  vorel::LoadSkin(desklet.D(), SkinFile(), true, false);
  std::string statement;
  for (int i = 0; i < 10; ++i) statement += "show('%param" + std::to_string(i * 19) + "%');";
  for (const char* token : {"%SKINPATH%", "%MOUSEX%", "%MOUSEY%", "%TMPPATH%", "%SKINPATH%", "%MOUSEX%", "%MOUSEY%",
                            "%TMPPATH%", "%SKINPATH%", "%MOUSEX%"})
    statement += std::string("f(") + token + ");";
  for (auto _ : state) benchmark::DoNotOptimize(vorel::ExpandVariables(desklet.D(), statement));
}
BENCHMARK(BM_Expand20Tokens)->Iterations(100000);

}  // namespace

BENCHMARK_MAIN();
