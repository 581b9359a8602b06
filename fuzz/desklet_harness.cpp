#include "fuzz/desklet_harness.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "vorel/load/skin_loader.h"
#include "vorel/model/desklet.h"

namespace fuzzing {

namespace {

constexpr HWND kWindow = 0x4100;

std::string& ScratchPath() {
  static std::string path;
  return path;
}

void RemoveScratch() {
  std::error_code ignored;  // at exit there is nobody left to tell
  std::filesystem::remove_all(ScratchPath(), ignored);
}

std::string MakeScratch() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kiv-fuzz-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("fuzz: cannot make a scratch folder");
  const std::string folder = pattern + "/";
  ScratchPath() = pattern;
  std::atexit(RemoveScratch);
  std::filesystem::create_directories(folder + "skin");
  // Everything a skin may write to by a well-known place goes in here.
  ::setenv("HOME", folder.c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (folder + "cache").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (folder + "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (folder + "data").c_str(), 1);
  return folder;
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = MakeScratch();
  return folder;
}

void Prepare() {
  FuzzDesklet desklet;
  desklet.Load("<skindata><sides><side id=\"0\" width=\"20\" height=\"20\"/></sides><desklet>"
               "<oncreate>kiv.DeskletLabel = 'ready'</oncreate></desklet>"
               "<layers><layer name=\"t\" text=\"ready\"/></layers></skindata>");
}

FuzzDesklet::FuzzDesklet() {
  ScratchFolder();
  testhost::TestHost::Get().Reset();
  instance_ = OnCreate(kWindow, 1, nullptr, nullptr);
  if (!instance_) throw std::runtime_error("fuzz: the plug-in made no desklet");
  testhost::TestHost::Get().Reset();
  testhost::TestHost::Get().DeskletOf(kWindow).instance = instance_;
  D().settings.resourcePath = ScratchFolder() + "skin/";
}

FuzzDesklet::~FuzzDesklet() { OnDestroy(instance_, kWindow); }

vorel::TDeskletObject& FuzzDesklet::D() { return *vorel::AsDesklet(instance_); }

void FuzzDesklet::WriteFile(const std::string& name, const std::string& content) {
  std::ofstream(ScratchFolder() + "skin/" + name, std::ios::binary | std::ios::trunc) << content;
}

void FuzzDesklet::Load(const std::string& skinXml) {
  WriteFile("skin.xml", skinXml);
  vorel::LoadSkin(D(), ScratchFolder() + "skin/skin.xml", true, true);
}

}  // namespace fuzzing
