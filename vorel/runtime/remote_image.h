// Remote images of layer sources, "!WEBIMG:" address ["|" file name]: the
// image is downloaded into a file of the remote-data cache folder at every
// rendering and then drawn from that file like any other image.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;

// The local file of a remote image in the folder (which ends in "/"): the
// given name with any folder parts dropped, or, without a usable name, the
// address's hash and the extension of its last path segment. ".png" is
// added to a name without extension, as image names are read that way.
std::string RemoteImagePath(const std::string& folder, const std::string& address, const std::string& name);

// Downloads the image of the source (the whole text, marker included)
// into its local file and returns the file's path. A failed download
// leaves the file as it was and is reported in the desklet's error log.
// Runs on the window thread, which waits for the download.
std::string FetchRemoteImage(TDeskletObject& desklet, const std::string& source);

}  // namespace vorel
