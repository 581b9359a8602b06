// The shared library's own translation unit: everything else comes whole
// from the objects of the plug-in's folders; exports.map decides what the
// library shows.
