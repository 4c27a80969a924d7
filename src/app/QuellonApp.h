// The application object of Quellon.
#pragma once

#include "SettingsStore.h"
#include "afxwin.h"

class CQuellonApp : public CWinApp
{
public:
    CQuellonApp();

    // The program's store of persistent values, bound to
    // HKEY_LOCAL_MACHINE\Software\Corvanel Software\<application name>.
    CSettingsStore m_settings;
    // Whether the About box's links have been opened during this run.
    BOOL m_bEmailVisited;
    BOOL m_bWebVisited;
    // The root key below which BindSettingsStore binds the settings store:
    // HKEY_LOCAL_MACHINE, unless another predefined or open key is put here
    // before start-up.
    HKEY m_hSettingsRootKey;

    BOOL InitInstance() override;

    // Binds the settings store to the program's key; the first time that
    // key is created, the legacy INI file is imported into it.
    void BindSettingsStore();
    // Copies every section and value of <Windows directory>\<application
    // name>.INI below the given (newly created) base key.
    void ImportIniFile(HKEY hBaseKey);

    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};

// The running application object.
CQuellonApp* GetQuellonApp();
