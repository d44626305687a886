// pimblo-sim: runs the real pet engine and sprites on a simulated desktop.
//   pimblo-sim SCENARIO.json        prints a CSV trace of the pet, one row a tick
//   pimblo-sim --export-sheets DIR  writes DIR/Heads.il and DIR/Legs.il
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "resources/embedded_assets.h"
#include "tools/sim/scenario.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: pimblo-sim SCENARIO.json\n       pimblo-sim --export-sheets DIR\n");
  return 2;
}

bool WriteFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f.flush());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pimblo;
  if (argc == 3 && std::string(argv[1]) == "--export-sheets") {
    const std::string dir = argv[2];
    if (!WriteFile(dir + "/Heads.il", assets::HeadsStream()) || !WriteFile(dir + "/Legs.il", assets::LegsStream())) {
      std::fprintf(stderr, "pimblo-sim: cannot write the sheets into %s\n", dir.c_str());
      return 2;
    }
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') return Usage();

  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "pimblo-sim: cannot read %s\n", argv[1]);
    return 2;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    std::fprintf(stderr, "pimblo-sim: cannot read %s\n", argv[1]);
    return 2;
  }
  auto parsed = ParseScenario(text.str());
  if (auto* error = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "pimblo-sim: %s: %s\n", argv[1], error->c_str());
    return 2;
  }
  auto sheets = LoadPetSheets(assets::HeadsStream(), assets::LegsStream());
  if (auto* error = std::get_if<std::string>(&sheets)) {
    std::fprintf(stderr, "pimblo-sim: built-in sheets: %s\n", error->c_str());
    return 1;
  }
  std::ios::sync_with_stdio(false);
  RunScenario(std::get<Scenario>(parsed), std::get<PetSheets>(sheets), std::cout);
  std::cout.flush();
  return std::cout ? 0 : 1;
}
