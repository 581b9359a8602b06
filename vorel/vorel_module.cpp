// The shared library's own translation unit: everything else comes whole
// from vorel_core; exports.map decides what the library shows.
