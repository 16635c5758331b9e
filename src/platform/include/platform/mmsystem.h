// The Windows multimedia services the game calls: the millisecond timer, the joystick, and the
// types of the media control interface (MCI) whose parameter blocks the game context keeps.
#pragma once

#include "platform/win32.h"

typedef UINT MMRESULT;
typedef UINT MCIERROR;
typedef UINT MCIDEVICEID;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_NODRIVER 6
#define MMSYSERR_INVALPARAM 11
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97
#define JOYERR_NOERROR 0
#define JOYERR_PARMS 165
#define JOYERR_UNPLUGGED 167

#define JOYSTICKID1 0
#define JOYSTICKID2 1
#define MAXPNAMELEN 32
#define MAX_JOYSTICKOEMVXDNAME 260

// ---- timer ----
DWORD timeGetTime();
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);

// ---- joystick ----
struct JOYINFO {
    UINT wXpos;
    UINT wYpos;
    UINT wZpos;
    UINT wButtons;
};
typedef JOYINFO* LPJOYINFO;

struct JOYCAPSA {
    WORD wMid;
    WORD wPid;
    CHAR szPname[MAXPNAMELEN];
    UINT wXmin;
    UINT wXmax;
    UINT wYmin;
    UINT wYmax;
    UINT wZmin;
    UINT wZmax;
    UINT wNumButtons;
    UINT wPeriodMin;
    UINT wPeriodMax;
    UINT wRmin;
    UINT wRmax;
    UINT wUmin;
    UINT wUmax;
    UINT wVmin;
    UINT wVmax;
    UINT wCaps;
    UINT wMaxAxes;
    UINT wNumAxes;
    UINT wMaxButtons;
    CHAR szRegKey[MAXPNAMELEN];
    CHAR szOEMVxD[MAX_JOYSTICKOEMVXDNAME];
};
typedef JOYCAPSA* LPJOYCAPSA;
static_assert(sizeof(JOYCAPSA) == 404, "JOYCAPSA has the Windows layout");

UINT joyGetNumDevs();
MMRESULT joyGetPos(UINT joyId, LPJOYINFO info);
MMRESULT joyGetDevCapsA(UINT_PTR joyId, LPJOYCAPSA caps, UINT size);

// ---- media control interface: the parameter blocks ----
#define MM_MCINOTIFY 0x3B9
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008

typedef std::uintptr_t DWORD_PTR;

struct MCI_OPEN_PARMSA {
    DWORD_PTR dwCallback;
    MCIDEVICEID wDeviceID;
    LPCSTR lpstrDeviceType;
    LPCSTR lpstrElementName;
    LPCSTR lpstrAlias;
};
typedef MCI_OPEN_PARMSA MCI_OPEN_PARMS;

struct MCI_PLAY_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwFrom;
    DWORD dwTo;
};
