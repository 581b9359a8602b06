#include "platform/xml/tree.h"

#include <utility>

namespace xml::detail {

Tree::Tree(DocPtr doc) : doc_(std::move(doc)) {}

Tree::~Tree() {
  // NOTE: retired nodes use the document's dictionary for their names, so
  // they go before the document.
  for (xmlNode* node : retired_) xmlFreeNode(node);
}

void Tree::AddHandle(const xmlNode* node) {
  if (node != nullptr) ++handles_[node];
}

void Tree::RemoveHandle(const xmlNode* node) {
  if (node == nullptr) return;
  auto it = handles_.find(node);
  if (it != handles_.end() && --it->second == 0) handles_.erase(it);
}

bool Tree::HasHandleWithin(const xmlNode* root) const {
  if (handles_.empty()) return false;
  std::vector<const xmlNode*> pending{root};
  while (!pending.empty()) {
    const xmlNode* node = pending.back();
    pending.pop_back();
    if (handles_.count(node) != 0) return true;
    if (node->type == XML_ELEMENT_NODE) {
      for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next)
        if (handles_.count(reinterpret_cast<const xmlNode*>(attr)) != 0) return true;
    }
    // An entity reference's children belong to the entity declaration.
    if (node->type == XML_ENTITY_REF_NODE) continue;
    for (const xmlNode* child = node->children; child != nullptr; child = child->next)
      pending.push_back(child);
  }
  return false;
}

void Tree::Retire(xmlNode* node) {
  if (node == nullptr) return;
  xmlUnlinkNode(node);
  if (HasHandleWithin(node))
    retired_.push_back(node);
  else
    xmlFreeNode(node);
}

}  // namespace xml::detail
