// TScripting: the desklet's script engine, the main object that scripts
// reach as "kiv" and "this", and the event sinks of foreign objects. The
// desklet creates the engine; the skin loader configures it and adds the
// main object.
#pragma once

#include <memory>
#include <vector>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"
#include "vorel/model/event_sink.h"
#include "vorel/model/script_engine.h"

namespace vorel {

struct TScripting {
  // Null when no engine could be made: statements are then skipped.
  std::unique_ptr<TScriptEngine> scriptEngine;
  // The scripts' root object (a TVorelMain), made by the first skin load.
  automation::ComPtr<automation::IDispatch> mainObject;
  std::vector<std::unique_ptr<TEventSink>> eventSinks;
  // Made with the first connection; shared with the connections, which
  // may outlive the desklet on the threads that fire them.
  std::shared_ptr<TEventQueue> eventQueue;
  uint64_t nextSinkId = 1;
};

}  // namespace vorel
