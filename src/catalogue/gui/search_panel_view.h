#pragma once

#include "catalogue/search_view.h"

namespace dadaz {

class MainWindow;

// The search panel's controls as a catalogue run sees them while it loads or searches.
class SearchPanelView : public SearchView {
  public:
    explicit SearchPanelView(MainWindow& window) : window_(window) {}

    void showResultLine(const std::string& text) override;
    void hideResultLine() override;
    void loadingStarted() override;
    void loadingEnded() override;
    void searchStarted(bool browsing) override;
    void artistListStarted() override;

  private:
    MainWindow& window_;
};

}  // namespace dadaz
