#include "vorel/script/objects/vorel_param.h"

#include "vorel/typelib/vorel_type_library.h"

namespace vorel {

TVorelParam::TVorelParam(TDeskletObject* desklet, std::shared_ptr<TParameter> record)
    : desklet_(desklet), record_(std::move(record)) {}

automation::ComPtr<TVorelParam> TVorelParam::Create(TDeskletObject& desklet, std::shared_ptr<TParameter> record) {
  return automation::MakeObject<TVorelParam>(&desklet, std::move(record));
}

const automation::DispatchTable<TVorelParam>& TVorelParam::Table() {
  using T = TVorelParam;
  using P = TParameter;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelParam"))
          .Source("VorelParam")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("Name", Get, &T::GetText<&P::Name>)
          .Implement("Name", Put, &T::PutText<&P::Name>)
          .Implement("Value", Get, &T::GetText<&P::Value>)
          .Implement("Value", Put, &T::PutText<&P::Value>)
          .Implement("OnUpdate", Get, &T::GetText<&P::OnUpdate>)
          .Implement("OnUpdate", Put, &T::PutText<&P::OnUpdate>)
          .Implement("Saveable", Get, &T::GetSaveable)
          .Implement("Saveable", Put, &T::PutSaveable);
  return table;
}

}  // namespace vorel
