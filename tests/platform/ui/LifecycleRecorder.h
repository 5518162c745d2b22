#pragma once
// A view controller that writes its lifecycle calls into a shared log, so a
// test compares the order of calls across controllers as one string.

#include <memory>
#include <string>

#include "platform/ui/UIViewController.h"

namespace trc::ui::test {

class LifecycleRecorder : public UIViewController {
public:
    LifecycleRecorder(std::string name, std::shared_ptr<std::string> log)
        : name_(std::move(name)), log_(std::move(log)) {}

    void viewDidLoad() override { note("load"); }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }

    void note(const std::string& what) {
        if (!log_->empty()) *log_ += " ";
        *log_ += name_ + "." + what;
    }

private:
    std::string name_;
    std::shared_ptr<std::string> log_;
};

}  // namespace trc::ui::test
