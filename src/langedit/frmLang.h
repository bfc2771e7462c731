#pragma once

#include <memory>
#include <functional>
#include <string>

#include "app/Form.h"
#include "platform/ImageList.h"
#include "platform/CommandBarControl.h"
#include "platform/TextEditBox.h"

namespace corvano {

class Entry;

// The language editor: the English language file in a text box, saved under
// a new language's name.
class frmLang : public Form {
public:
    explicit frmLang(Application& app);
    ~frmLang() override;

    void Form_Load() override;
    void Form_Resize() override;
    // The close box: like "EXIT3".
    void Form_QueryUnload() override;
    void Form_TextsChanged() override;

    // Shows the editor modally and returns at once; `closed` runs once it is
    // closed. A template that could not be read is told first.
    void ShowModal(std::function<void()> closed = {});

    // Acts for the editor's own bar only (index 5).
    void cmdBar_Click(int index, Entry& entry) override;

    // Asks for the name until it is one that can be written or the user
    // gives up; writes the box's text as that language's file. `saved` gets
    // the path written, or empty when nothing was.
    using Saved = std::function<void(const std::string& path)>;
    void SaveLanguage(Saved saved = {});
    // Closes the editor, asking first when the text has unsaved changes.
    void CloseEditor();

    // The text differs from what was loaded or last saved.
    bool modified() const;

    CommandBarControl& cmdBar() { return *cmdBar_; }
    TextEditBox& Text1() { return *text1_; }
    const ImageList& ImageList1() const { return imageList1_; }

private:
    void loadTemplate();
    void tell(const std::string& text, std::function<void()> then = {});
    void write(const std::string& path, const Saved& saved);
    static void done(const Saved& saved, const std::string& path);

    ImageList imageList1_;
    std::unique_ptr<CommandBarControl> cmdBar_;
    std::unique_ptr<TextEditBox> text1_;
    std::string savedText_;
    // Told when the editor is shown, not during the hidden load at start-up.
    std::string unreadTemplate_;
};

}  // namespace corvano
