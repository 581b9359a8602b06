// A desklet for the fuzz targets that need the plug-in's object model: it is
// created and destroyed through the plug-in's own exports against the
// recording test host, in a scratch folder that the process's home, cache
// and settings folders point into, so nothing a fuzzed skin does lands in
// the real ones.
#pragma once

#include <string>

namespace vorel {
class TDeskletObject;
}

namespace fuzzing {

// The scratch folder of this process, made on first use; ends in "/".
const std::string& ScratchFolder();

// Makes and drops one desklet with a script, before the first input: what
// the libraries set up once for the process (the script engine's runtime
// for the thread, font caches) is then not taken for memory an input lost.
void Prepare();

class FuzzDesklet {
 public:
  FuzzDesklet();
  ~FuzzDesklet();
  FuzzDesklet(const FuzzDesklet&) = delete;
  FuzzDesklet& operator=(const FuzzDesklet&) = delete;

  vorel::TDeskletObject& D();
  // Writes the skin into the skin folder and loads it as a fresh desklet.
  void Load(const std::string& skinXml);
  // A file in the skin folder.
  void WriteFile(const std::string& name, const std::string& content);

 private:
  void* instance_ = nullptr;
};

}  // namespace fuzzing
