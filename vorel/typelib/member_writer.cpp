#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using automation::DispId;
using automation::ParamInfo;
using automation::VarType;

MemberWriter& MemberWriter::Method(std::string name, DispId id, std::vector<ParamInfo> params, std::string doc) {
  return Method(std::move(name), id, std::move(params), VarType::Empty, std::move(doc));
}

MemberWriter& MemberWriter::Method(std::string name, DispId id, std::vector<ParamInfo> params, VarType result,
                                   std::string doc) {
  info_.Method(std::move(name), id, std::move(params), result).Doc(std::move(doc));
  return *this;
}

MemberWriter& MemberWriter::Get(std::string name, DispId id, VarType type, std::string doc,
                                std::vector<ParamInfo> indexParams) {
  info_.Get(std::move(name), id, type, std::move(indexParams)).Doc(std::move(doc));
  return *this;
}

MemberWriter& MemberWriter::Put(std::string name, DispId id, VarType type, std::string doc) {
  info_.Put(std::move(name), id, type).Doc(std::move(doc));
  return *this;
}

MemberWriter& MemberWriter::Property(std::string name, DispId id, VarType type, std::string doc) {
  Get(name, id, type, doc);
  return Put(std::move(name), id, type, std::move(doc));
}

}  // namespace vorel::typelib
