#pragma once
// Openers that record every call as "form.member(arguments)" and open nothing.
#include <functional>
#include <string>
#include <vector>

#include "windowkit/dialog_openers.h"

namespace varnak::test {

class RecordingOpeners : public DialogOpeners {
  public:
    std::vector<std::string> calls;
    bool uploadResult = true;
    // Runs inside frmProjNew_Show (a test's stand-in for the user creating a project).
    std::function<void()> onProjNew;
    std::function<void(std::string&)> onTerminalInsert;

    void add(std::string c) { calls.push_back(std::move(c)); }
    static std::string args(int32_t a, int32_t b) {
        return "(" + std::to_string(a) + "," + std::to_string(b) + ")";
    }

    void frmTermInsert_fTerminalInsert(std::string& key) override {
        add("frmTermInsert.fTerminalInsert(" + key + ")");
        if (onTerminalInsert) onTerminalInsert(key);
    }
    void frmComParam_Show() override { add("frmComParam"); }
    void frmOnlineDownLoad_Show() override { add("frmOnlineDownLoad"); }
    bool frmOnlineUpLoad_fKonstruktor() override {
        add("frmOnlineUpLoad.fKonstruktor");
        return uploadResult;
    }
    void frmCouplerFunctions_Show() override { add("frmCouplerFunctions"); }
    void frmScriptTerm_fKonstruktor(std::string& p) override {
        add("frmScriptTerm.fKonstruktor(" + p + ")");
    }
    void frmScriptCoupler_fKonstruktor(std::string& p) override {
        add("frmScriptCoupler.fKonstruktor(" + p + ")");
    }
    void frmRimTalkQZ3xxx_Show() override { add("frmRimTalkQZ3xxx"); }
    void frmRimTalkDebug_Show() override { add("frmRimTalkDebug"); }
    void frmRegister_fRegister(std::string& key) override {
        add("frmRegister.fRegister(" + key + ")");
    }
    void frmProcDataDigital_fKonstruktor(int32_t& a, int32_t& b) override {
        add("frmProcDataDigital.fKonstruktor" + args(a, b));
    }
    void frmCouplerConfigControllerLinkTerm_fRegister(std::string& key) override {
        add("frmCouplerConfigControllerLinkTerm.fRegister(" + key + ")");
    }
    void frmProcData_fConstructor() override { add("frmProcData.fConstructor"); }
    void frmTermForceData_fKonstruktor(std::string& key) override {
        add("frmTermForceData.fKonstruktor(" + key + ")");
    }
    void frmSaveTableAsResource_fKonstruktor(int32_t& p, int32_t& t) override {
        add("frmSaveTableAsResource.fKonstruktor" + args(p, t));
    }
    bool frmCouplerConfigGeneral_fKonstruktorCouplerConfigGeneral() override {
        add("frmCouplerConfigGeneral");
        return true;
    }
    void frmCouplerConfigController_fKonstruktor() override { add("frmCouplerConfigController"); }
    void frmCouplerConfigController2_fKonstruktor() override { add("frmCouplerConfigController2"); }
    bool frmConfigProg_fKonstruktor(bool& show) override {
        add(std::string("frmConfigProg.fKonstruktor(") + (show ? "True" : "False") + ")");
        return true;
    }
    void frmConfigAuto_fKonstruktor(bool& show) override {
        add(std::string("frmConfigAuto.fKonstruktor(") + (show ? "True" : "False") + ")");
    }
#define VARNAK_RECORD_COUPLER(name)                         \
    void frmCouplerConfig##name##_fKonstruktor() override { \
        add("frmCouplerConfig" #name);                      \
    }
    VARNAK_RECORD_COUPLER(QZ2000)
    VARNAK_RECORD_COUPLER(QZ3000)
    VARNAK_RECORD_COUPLER(QZ4000)
    VARNAK_RECORD_COUPLER(QZ5000)
    VARNAK_RECORD_COUPLER(QZ5100)
    VARNAK_RECORD_COUPLER(QZ5110)
    VARNAK_RECORD_COUPLER(QZ5200)
    VARNAK_RECORD_COUPLER(QZ7300)
    VARNAK_RECORD_COUPLER(QZ8000)
    VARNAK_RECORD_COUPLER(QY9000)
#undef VARNAK_RECORD_COUPLER
#define VARNAK_RECORD_TERMINAL(name)                                           \
    void frmTermConfig##name##_fKonstruktor(int32_t& p, int32_t& t) override { \
        add("frmTermConfig" #name + args(p, t));                               \
    }
    VARNAK_RECORD_TERMINAL(QT1501)
    VARNAK_RECORD_TERMINAL(QT2502)
    VARNAK_RECORD_TERMINAL(QT3002)
    VARNAK_RECORD_TERMINAL(QT3202)
    VARNAK_RECORD_TERMINAL(QT3302)
    VARNAK_RECORD_TERMINAL(QT4002)
    VARNAK_RECORD_TERMINAL(QT5001)
    VARNAK_RECORD_TERMINAL(QT5101)
    VARNAK_RECORD_TERMINAL(QT6001)
    VARNAK_RECORD_TERMINAL(QT6051)
#undef VARNAK_RECORD_TERMINAL
    void frmProjNew_Show() override {
        add("frmProjNew");
        if (onProjNew) onProjNew();
    }
    void frmProjDel_Show() override {
        add("frmProjDel");
    }
    void frmRailNew_fCouplerInsert(std::string& key) override {
        add("frmRailNew.fCouplerInsert(" + key + ")");
    }
    void frmRailOpen_Show() override {
        add("frmRailOpen");
    }
    void frmAbout_Show() override {
        add("frmAbout");
    }
    void frmPrint_fKonstruktor() override {
        add("frmPrint.fKonstruktor");
    }
};

}  // namespace varnak::test
