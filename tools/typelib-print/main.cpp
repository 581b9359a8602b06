// typelib-print: prints the Vorel type library as IDL (--idl) or as the
// Markdown reference for skin authors (--markdown), to standard output or,
// with --output FILE, into that file. The file is replaced in one step, so
// an interrupted run never leaves half a document behind.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/typelib-print/typelib_printer.h"
#include "vorel/typelib/vorel_type_library.h"

namespace {

constexpr const char* kUsage = "usage: typelib-print --idl | --markdown [--output FILE]\n";

void WriteFileAtomically(const std::string& path, const std::string& text) {
  const std::string tmp = path + ".tmp-" + std::to_string(::getpid());
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + tmp);
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::filesystem::remove(tmp);
    throw std::runtime_error("cannot replace " + path + ": " + ec.message());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string_view format;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if ((arg == "--idl" || arg == "--markdown") && format.empty()) {
      format = arg;
    } else if (arg == "--output" && i + 1 < argc && output.empty()) {
      output = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (format.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    const automation::TypeLibrary& library = vorel::VorelTypeLibrary();
    const std::string text =
        format == "--idl" ? typelib_print::PrintIdl(library) : typelib_print::PrintMarkdown(library);
    if (output.empty()) {
      std::cout << text;
      std::cout.flush();
      return std::cout ? 0 : 1;
    }
    WriteFileAtomically(output, text);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "typelib-print: " << e.what() << "\n";
    return 1;
  }
}
