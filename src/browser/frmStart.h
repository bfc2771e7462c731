#pragma once

#include "app/Form.h"

namespace corvano {

// A numbered browser window.
class frmStart : public Form {
public:
    explicit frmStart(Application& app);
    void Form_Load() override;
    void Form_QueryUnload() override { GO_Exit(); }

    // The browser number held by the window.
    int number() const { return number_; }
    void GO_Exit();

private:
    int number_ = 0;
};

}  // namespace corvano
