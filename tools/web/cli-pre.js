// The node build reads its WebAssembly from the file beside it. Without this its loader takes node's
// own fetch (node 18 and later) for a browser's and fails on a file name ("Failed to parse URL").
if (typeof require === "function" && typeof __dirname === "string" && !Module["wasmBinary"])
  Module["wasmBinary"] = require("fs").readFileSync(require("path").join(__dirname, "rushmora-cli.wasm"));
