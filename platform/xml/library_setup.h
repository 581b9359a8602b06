// One-time, process-wide set-up of libxml2 and libxslt: parser
// initialisation, silenced global error channels, and the loaders that keep
// documents away from the network and from external entities. Every entry
// point of this folder calls EnsureInitialised() before touching either
// library; it is cheap after the first call and safe from any thread.
#pragma once

namespace xml::detail {

void EnsureInitialised();

// While a SafeParseScope is alive on a thread, libxml2 refuses to load any
// external resource (entity, DTD) on that thread. Our own parses run inside
// one; XSLT's document() loads do not.
class SafeParseScope {
 public:
  SafeParseScope();
  ~SafeParseScope();
  SafeParseScope(const SafeParseScope&) = delete;
  SafeParseScope& operator=(const SafeParseScope&) = delete;
};

}  // namespace xml::detail
