#pragma once
// The general coupler settings dialog without its window: the active coupler's table 0
// (online read whole at opening), the controls' state, Default from the coupler type's
// description, OK (offline the rail's save, online the whole table under lifted write
// protection) and Cancel, which puts back the table as the dialog found it. Messages go
// through the context's UiServices.
#include <memory>
#include <string>

#include "couplercfg/coupler_settings_support.h"
#include "couplercfg/general_settings_codec.h"
#include "windowkit/offline_rail_save.h"

namespace varnak {

class GeneralSettingsEditor {
  public:
    // Takes the active coupler's table 0 and, online, reads it whole. False after message
    // 469 when there is no coupler, no table 0 or the read failed.
    [[nodiscard]] bool open();

    bool online() const { return online_; }
    const std::string& couplerType() const { return type_; }
    GeneralSettingsForm& form() { return form_; }
    GeneralTabs tabs() const;

    // A click of an image's autoconfiguration box.
    void clickAutoconfiguration(int image, bool ticked);
    // Copies registers 1-11 of the coupler type's description into the table and fills the
    // controls again; a type without a description is told and nothing changes.
    void restoreDefaults();
    // The controls into the table; online the download. True when the dialog may close; a
    // refused number field or a failed download is told first.
    [[nodiscard]] bool ok();
    // Cancel or the close box: the table as the dialog found it; after a failed OK, which
    // may have put part of the values into the device, as that OK stored it.
    void cancel();

  private:
    GeneralRegisters registers() const;
    void fill();

    std::shared_ptr<clsTable> table_;
    bool online_ = false;
    std::string type_;
    GeneralSettingsForm form_;
    TableSnapshot opened_;
    TableSnapshot stored_;  // by the last failed OK
    bool okFailed_ = false;
    int32_t lastResult_ = 0;
    OfflineRailSave railSave_;
};

// Caption ids of the four number fields, for the refusal message.
int generalNumberCaption(int field);

}  // namespace varnak
