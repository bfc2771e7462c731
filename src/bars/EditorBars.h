#pragma once

namespace corvano {

class Application;

// The language editor's two entries, close and save; once per process.
void Build_EditorButtons(Application& app);
// "STANDARD5", between separators the main and browser builders made.
void Build_EditorBar(Application& app);

}  // namespace corvano
