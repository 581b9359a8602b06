// Changing the skin's XML data sources while the desklet runs, on the
// window thread: adding and deleting sources, dropping a source's data,
// and changing the document of a source that is a local file and saving
// it. Fetches run on workers against the list, so a change of the list's
// length first stops the fetches under way (and starts a new round after,
// when one was stopped). A document another thread may be reading is never
// changed: a change builds a new document from the old one's content and
// puts it in the source's place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace xml {
class Node;
}

namespace vorel {

class TDeskletObject;

// Appends a source that is due at the next minute pass; returns its
// position. The new source's cache lives in the temporary folder.
size_t AddXmlSource(TDeskletObject& desklet, std::string src, int32_t interval, std::string onGetData);
// Removes the source at the position; false when there is none.
bool DeleteXmlSourceAt(TDeskletObject& desklet, size_t position);

// Gives the source a new, empty document and deletes its cache file. The
// file of a "file://" source is the user's document, not a cached copy,
// and stays.
void ResetXmlSource(TDeskletObject& desklet, size_t position);

// Whether the source may be written: its address begins with "file://".
bool IsWritableSource(const std::string& src);

// Finds or creates the node for the path (XML engine's mode) in a copy of
// the source's document, lets `change` set it and puts the copy in the
// source's place. The document is read from its file first when it is not
// read yet, so a write never starts from nothing. False, with nothing
// changed, for a source that cannot be written or a path that cannot be
// made; what went wrong goes to the error log.
bool ChangeXmlNode(TDeskletObject& desklet, size_t position, const std::string& path, int mode,
                   const std::function<void(xml::Node&)>& change);
// Replaces the document with an empty root element.
void ClearXmlDocument(TDeskletObject& desklet, size_t position);

// Saves the source's document into the file (the source's own file when
// fileName is empty), replacing the file in one step, so that a save that
// fails leaves the old file whole. False when the source cannot be written
// or the save failed; the reason goes to the error log.
bool SaveXmlSource(TDeskletObject& desklet, size_t position, const std::string& fileName);

}  // namespace vorel
