#include "sound/music_player.h"

#include "app/game_app.h"

void MusicPlayer::Play(const char* fileName) {
    GameApp& app = GameApp::Get();
    app.musicOpenParams.lpstrDeviceType = "Sequencer";
    app.musicOpenParams.lpstrElementName = fileName;
    app.musicOpenParams.dwCallback = reinterpret_cast<DWORD_PTR>(app.mainWindow);
    mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT | MCI_NOTIFY,
                    reinterpret_cast<DWORD_PTR>(&app.musicOpenParams));
    app.musicPlayParams.dwCallback = reinterpret_cast<DWORD_PTR>(app.mainWindow);
}

void MusicPlayer::Stop() {
    lastResult = mciSendCommandA(GameApp::Get().musicOpenParams.wDeviceID, MCI_CLOSE, 0, 0);
}

void HandleMusicNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != MCI_NOTIFY_SUCCESSFUL) return;
    const MCIDEVICEID device = MCIDEVICEID(lParam);
    mciSendCommandA(device, MCI_SEEK, MCI_SEEK_TO_START, 0);
    mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY,
                    reinterpret_cast<DWORD_PTR>(&GameApp::Get().musicPlayParams));
}

MCIERROR SetCdDoor(bool open, const char* driveName) {
    MCI_OPEN_PARMS params{};
    params.lpstrDeviceType = reinterpret_cast<LPCSTR>(std::uintptr_t(MCI_DEVTYPE_CD_AUDIO));
    params.lpstrElementName = driveName;
    MCIERROR result =
        mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID, reinterpret_cast<DWORD_PTR>(&params));
    if (result != 0) return result;
    mciSendCommandA(params.wDeviceID, MCI_SET, open ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED, 0);
    result = mciSendCommandA(params.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
    return result;
}
