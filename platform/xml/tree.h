// Tree owns one parsed libxml2 document. Documents and Nodes share it
// through shared_ptr, so a Node keeps its tree alive after the Document
// has loaded something else. Nodes register themselves here; a subtree
// that is cut out of the document while some Node still points into it is
// kept (unlinked) until the tree dies instead of being freed under it.
//
// A tree, and every Node of it, is used by one thread at a time.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <unordered_map>
#include <vector>

namespace xml::detail {

struct DocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

class Tree {
 public:
  explicit Tree(DocPtr doc);
  ~Tree();
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;

  xmlDoc* Doc() const { return doc_.get(); }

  void AddHandle(const xmlNode* node);
  void RemoveHandle(const xmlNode* node);

  // Unlinks node (with its subtree) from the document and frees it, or
  // keeps it for the tree's lifetime when a handle refers into it.
  void Retire(xmlNode* node);

 private:
  bool HasHandleWithin(const xmlNode* node) const;

  DocPtr doc_;
  std::unordered_map<const xmlNode*, int> handles_;
  std::vector<xmlNode*> retired_;
};

}  // namespace xml::detail
