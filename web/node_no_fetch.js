// node 18 and later have a fetch of their own, which cannot read the .wasm
// beside this script from a file path; without it the loader reads the file.
var fetch = undefined;
