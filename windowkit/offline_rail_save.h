#pragma once
// Nothing is saved at exit, so an edit of the project's loaded rail that no save command
// follows would be lost without a word. A window that changed that rail while offline
// saves it when it closes, as deleting a terminal does, and shows the store's message when
// the save fails. The online rail is saved only by "Save coupler as".
#include <cstdint>
#include <memory>

namespace varnak {

class clsCoupler;

class OfflineRailSave {
  public:
    // The rail the window works on (null: none).
    explicit OfflineRailSave(std::shared_ptr<clsCoupler> rail = nullptr) : rail_(rail) {}
    void bind(const std::shared_ptr<clsCoupler>& rail) { rail_ = rail; }

    // The window changed the rail; counts only for the project's loaded rail while offline.
    void changed();
    bool pending() const { return changed_; }
    // Saves the rail when a change is pending; the store's message on failure. Returns the
    // store's result (kStoreOk when there was nothing to save).
    [[nodiscard]] int32_t save();

  private:
    // The bound rail when it is the project's loaded rail and the project is offline.
    std::shared_ptr<clsCoupler> projectRail() const;

    std::weak_ptr<clsCoupler> rail_;
    bool changed_ = false;
};

}  // namespace varnak
