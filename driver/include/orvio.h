/*
 * orvio.h - drive Orvane remote I/O modules on an RS-485/RS-422 serial line.
 *
 * This header is the manual of the library; docs/orvio.md says the same at
 * more length.
 *
 * PORTS
 *   The library keeps 24 port slots, numbered 0 to 23 like the COM ports:
 *   OV_InitialComm(3, ...) opens "COM3". On Linux, COM n is the device named
 *   for it in the file ports.conf of the config directory
 *   ($XDG_CONFIG_HOME/orvane/ports.conf, or ~/.config/orvane/ports.conf),
 *   with lines such as "COM3=/dev/ttyUSB0"; a COM number without a line is
 *   /dev/ttyS<n-1>. OV_SetPortName() names the device of one slot directly
 *   and takes precedence over the file. The port is claimed exclusively: a
 *   port held by another program cannot be opened.
 *
 *   A port may also be a line on a serial device server, named by a URL in
 *   pyserial's spelling, in ports.conf or through OV_SetPortName():
 *   "rfc2217://HOST:PORT" (Telnet with the COM port option: OV_InitialComm
 *   sets the server's line to its rate and parity and waits for the server
 *   to confirm them) or "socket://HOST:PORT" (raw TCP at the speed set in
 *   the server). A socket:// line takes the rate of its first
 *   OV_InitialComm as the server's; a later OV_InitialComm at another rate
 *   returns OV_SUCCESS, leaves the line as it is, and leaves a note saying
 *   so in OV_GetErrorText, the one text a call that succeeded leaves.
 *
 *   Each slot has a reply time-out (100 ms initially) and a checksum flag
 *   (off initially). Both belong to the slot, not to the open port: they may
 *   be set before OV_InitialComm and keep their values across
 *   OV_ReleaseComm.
 *
 * TRANSACTIONS
 *   Every module operation takes the port number and the module address
 *   (0..255) first, sends one command, reads the reply character by
 *   character until its carriage return and decodes it into the caller's
 *   variables. The reply time-out restarts with every character: it bounds
 *   the silence before each character, not the whole reply. With the
 *   checksum flag on, commands carry two checksum digits and replies are
 *   checked, except for commands to address 00 (a module in its
 *   initialization state), which go out plain and whose reply is used
 *   unchecked.
 *
 *   No module reply is longer than 24 characters. A reply that grows past 64
 *   characters without its carriage return (a line that streams, or one that
 *   trickles characters without end) is given up as garbled: OV_IO_ERROR,
 *   however slowly it comes, and OV_GetErrorText says so.
 *
 * RESULTS
 *   Every function returns a uint16_t status. Read as a signed 16-bit number,
 *   every failure is negative: test with (int16_t)status < 0. On failure the
 *   caller's outputs are left unchanged (OV_GetConfig is the one exception,
 *   see there). Numeric outputs are written through uint16_t or uint32_t
 *   pointers; a null output pointer is skipped. Text outputs need a buffer of
 *   30 bytes (8 bytes for the seven-character fields of OV_ReadAllAI and the
 *   mapping reads); the library never writes more, terminating zero
 *   included. A text input that is a null pointer is refused with
 *   OV_REFUSED.
 *
 * ERRORS
 *   The status tells the kind of failure; OV_GetErrorText(port, text, size)
 *   tells which one, with the device and, where known, what to do: a port
 *   that cannot be opened because there is no such device, it is in use or
 *   permission is denied (OV_REFUSED for all three); the adapter that was
 *   pulled; the reply that never ended (both OV_IO_ERROR); the command that
 *   got no reply. Every call with a port number 0..23 leaves the port's text,
 *   empty when the call succeeded (but for the note of a socket:// line, see
 *   PORTS): read it right after the call that failed.
 *
 * A PULLED ADAPTER
 *   When the adapter is pulled, the call under way and every later call on
 *   the port fail at once with OV_IO_ERROR ("... device disconnected"); the
 *   library does not reopen the port by itself. Once the adapter is back
 *   (under the same device name), OV_ReleaseComm and OV_InitialComm open it
 *   again; until then OV_InitialComm fails with OV_REFUSED ("no such
 *   device").
 *
 * THREADS
 *   Any thread may call the library. One library-wide lock serialises all
 *   calls: while one call waits for a reply, calls from other threads wait
 *   for it, also when they use another port. Each port keeps one failure
 *   text, not one per thread: when two threads share a port, a call of the
 *   other thread may replace the text before OV_GetErrorText reads it.
 *
 *   The lock and the library's tables are never destroyed, so other threads
 *   may go on calling while the process exits (after main returns or
 *   exit() is called): their calls find the library intact. Error texts
 *   are taken with strerror_r, never from a buffer shared between threads.
 *
 * THE LINE TRACE
 *   With ORVANE_TRACE=FILE in the environment, the library appends one line
 *   of text to FILE for every frame it sends, every reply, time-out,
 *   checksum failure, purge and baud change on its ports, in the format every
 *   Orvane program writes:
 *
 *     2026-05-04 14:03:07.123502 COM1 /dev/ttyUSB0 > $01M<CR>
 *     2026-05-04 14:03:07.135847 COM1 /dev/ttyUSB0 < !017213<CR>  12.345 ms
 *     2026-05-04 14:03:07.240112 COM1 /dev/ttyUSB0 ! time-out: no reply  100.210 ms
 *
 *   local time to the microsecond, the port and its device or URL, ">" for
 *   a frame sent, "<" for one received with its delay after the send, "!"
 *   for a time-out or a checksum failure, "*" for a purge or a baud change.
 *   A carriage return shows as <CR>, a line feed as <LF>, any other byte
 *   outside printable ASCII (and "<") as <0xHH>. Each line is one write, so
 *   several programs may append to one file. The variable is read when the
 *   first port is opened; a FILE that cannot be opened is said once on
 *   standard error and the library works on without the trace.
 *   OV_SetTraceFile() opens or closes the trace file from the program. While
 *   no trace file is open the trace costs nothing worth measuring.
 *
 * UNLOADING
 *   When the library is unloaded or the process exits, every port still open
 *   is released, after the call in progress (if any) has ended. From then on
 *   OV_InitialComm returns OV_REFUSED and the module operations return
 *   OV_IO_ERROR (port not open); the other functions work as before. A
 *   program must not call the library while it unloads it with dlclose().
 */
#ifndef ORVIO_H
#define ORVIO_H

#include <stdint.h>

#if defined(__GNUC__)
#define ORVIO_API __attribute__((visibility("default")))
#else
#define ORVIO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Status codes. */
#define OV_SUCCESS 0x0000u /* success */
/* The module answered "?"; or a port number above 23, an address above 255,
 * a port that cannot be opened or a slot already open, a command too long
 * for the command buffer, another bad argument. */
#define OV_REFUSED 0xffffu
#define OV_LINE_SETTINGS_FAILED 0xfffdu /* line settings refused, or port not open on release */
#define OV_BAD_DATA_BITS 0xfff5u        /* data-bits argument outside 4..8 */
#define OV_BAD_BAUD_CODE 0xfff4u        /* baud-rate code outside 3..10, or parity above 2 */
/* Reading or writing the port failed (the adapter is gone), the port is not
 * open, or a reply grew past 64 characters without its carriage return. */
#define OV_IO_ERROR 0xfff3u
#define OV_TIMEOUT 0xfff2u           /* no character within the reply time-out */
#define OV_CHECKSUM_ERROR 0xfff1u    /* the reply's checksum does not match */
#define OV_BAD_MODEL 0xfff0u         /* model code not handled by this operation */
#define OV_BAD_VALUE 0xffefu         /* output value or line state out of range */
#define OV_BAD_COUNTER_INDEX 0xffeeu /* counter or alarm index not 0 or 1 */
#define OV_BAD_PORT_GROUP 0xffedu    /* port-group selector out of range */

/* Baud-rate codes of OV_InitialComm (the CC values of a module's configuration). */
#define OV_BAUD_1200 3u
#define OV_BAUD_2400 4u
#define OV_BAUD_4800 5u
#define OV_BAUD_9600 6u
#define OV_BAUD_19200 7u
#define OV_BAUD_38400 8u
#define OV_BAUD_115200 9u
#define OV_BAUD_57600 10u

/* Parity codes of OV_InitialComm. */
#define OV_PARITY_NONE 0u
#define OV_PARITY_ODD 1u
#define OV_PARITY_EVEN 2u

/* Module families of OV_GetModelInfo. */
#define OV_FAMILY_DIGITAL_IO 0u
#define OV_FAMILY_MULTI_FUNCTION 1u /* analog input with alarms and event counter */
#define OV_FAMILY_ANALOG_OUTPUT 2u
#define OV_FAMILY_ANALOG_INPUT 3u
#define OV_FAMILY_COUNTER 4u /* counter/frequency */
#define OV_FAMILY_CONVERTER 5u
#define OV_FAMILY_UNKNOWN 6u

/* A module's configuration: read by OV_GetConfig, sent by OV_SetConfig. */
typedef struct OV_ModuleConfig {
  uint16_t address;    /* 0..255 */
  uint16_t model;      /* model number such as 7213 (read only) */
  uint16_t typeCode;   /* input type or output range */
  uint16_t baudCode;   /* CC value 3..10 */
  uint16_t checksum;   /* 1 when the module uses a checksum */
  uint16_t dataFormat; /* 0..3 */
} OV_ModuleConfig;

/* The configuration of converter model 7912. */
typedef struct OV_ConverterConfig {
  uint16_t address;
  uint16_t firstBaud;  /* CC value of the RS-232 side, one hex digit */
  uint16_t secondBaud; /* CC value of the network side, one hex digit */
  uint16_t flag14;     /* checksum */
  uint16_t flag15;     /* 1 non-addressable, 0 addressable */
  uint16_t flag13;     /* 1 RS-485, 0 RS-422 */
  uint16_t flag8;      /* 1 a carriage return is appended */
  uint16_t parity;     /* 0 none, 1 odd, 2 even */
  uint16_t stopBits;   /* 0 or 2 */
  uint16_t dataBits;   /* 5..8 */
} OV_ConverterConfig;

/* ---- Port sessions ---------------------------------------------------- */

/* Opens COM<port>. baudCode: OV_BAUD_*; dataBits: 4..8 (checked only, the
 * line always runs with 8 data bits); parity: OV_PARITY_*; reserved: unused.
 * Returns OV_REFUSED when the port cannot be opened (no such device, busy,
 * permission denied, a device server that cannot be reached) or the slot is
 * already open, OV_LINE_SETTINGS_FAILED when the line settings cannot be
 * applied (the port then stays open). On a socket:// line a rate other than
 * the one it was first opened with cannot be set: OV_SUCCESS, with a note in
 * OV_GetErrorText. */
ORVIO_API uint16_t OV_InitialComm(uint16_t port, uint16_t baudCode, uint16_t dataBits,
                                  uint16_t parity, uint16_t reserved);
/* Sets the baud rate of an open port (baudCode: OV_BAUD_*), keeping its
 * parity. The port stays open and claimed, so no other program takes it
 * between two rates; the library makes no pause: a program that needs the
 * line to settle after a change waits itself. OV_BAD_BAUD_CODE for a code
 * outside 3..10, OV_IO_ERROR when the port is not open or the adapter is
 * gone, OV_LINE_SETTINGS_FAILED when the line refuses the rate (the port
 * stays open at its former rate). An rfc2217:// line sets its server's rate;
 * a socket:// line stays at the rate it was first opened with: OV_SUCCESS,
 * with a note in OV_GetErrorText, as OV_InitialComm. Since version 1.2
 * (package 4.01). */
ORVIO_API uint16_t OV_SetBaudRate(uint16_t port, uint16_t baudCode);
/* Closes the port of the slot; OV_LINE_SETTINGS_FAILED when it is not open. */
ORVIO_API uint16_t OV_ReleaseComm(uint16_t port);
/* The reply time-out of the slot in milliseconds (negative counts as 0). */
ORVIO_API uint16_t OV_TimeOut(uint16_t port, int16_t milliseconds);
ORVIO_API uint16_t OV_EnableChecksum(uint16_t port);
ORVIO_API uint16_t OV_DisableChecksum(uint16_t port);
/* Names the device of the slot ("/dev/ttyUSB0") or its line on a device
 * server ("rfc2217://192.168.1.50:7001", "socket://192.168.1.50:4001"); a
 * null or empty path returns the slot to ports.conf. Takes effect at the
 * next OV_InitialComm. A URL that is not well formed is refused with
 * OV_REFUSED, the reason in OV_GetErrorText, and the slot keeps its name. */
ORVIO_API uint16_t OV_SetPortName(uint16_t port, const char* path);
/* Sends any command (without checksum and carriage return; not limited in
 * length) and copies the reply, lead character included and checksum
 * removed, into reply (30 bytes). A "?" reply is returned as text with
 * status OV_SUCCESS. */
ORVIO_API uint16_t OV_SendCommand(uint16_t port, const char* command, char* reply);
/* The text of the port's last failure, such as "COM3: /dev/ttyUSB0: cannot
 * open: no such device (is the adapter plugged in? see ports.conf)"; empty
 * when the last call on the port succeeded or none failed yet. Writes at most
 * size - 1 bytes and a terminating zero, cutting a longer text (never inside
 * a UTF-8 character; 256 bytes hold all but texts with very long device
 * paths); a null text or size 0 writes nothing. Does not change the text.
 * OV_REFUSED for a port above 23. Since version 1.1 (package 4.01). */
ORVIO_API uint16_t OV_GetErrorText(uint16_t port, char* text, uint16_t size);
/* Writes the line trace (see THE LINE TRACE) to the file at path from now on,
 * appending, in place of ORVANE_TRACE's file or the one set before; a null
 * or empty path stops the trace. OV_REFUSED when the file cannot be opened,
 * or is a FIFO or a socket (a reader going away would end the program):
 * errno says why (EINVAL for a FIFO or a socket), and the trace goes on to
 * the file it went to before. Since version 1.2 (package 4.01). */
ORVIO_API uint16_t OV_SetTraceFile(const char* path);

/* ---- The module catalogue (no port, no exchange) ------------------------ */

/* The family (OV_FAMILY_*) and the number of analog input channels (0, 1, 3
 * or 8) of a model name as OV_GetModuleName reports it ("7213", "7213D",
 * "8213"); a name not in the catalogue is OV_FAMILY_UNKNOWN with 0 channels.
 * A null output is skipped; a null name is OV_REFUSED. Since version 1.2. */
ORVIO_API uint16_t OV_GetModelInfo(const char* modelName, uint16_t* family, uint16_t* channels);
/* The range name ("+/- 10V", "T/C Type K"; 30 bytes) and unit ("mV", "V",
 * "mA", "C", "ohms"; 30 bytes) of a type code in a data format (0..3: RTD
 * ranges read in ohms in format 3). Both are empty for a code without them
 * (the digital modules' 0x40). A null output is skipped. Since version 1.2. */
ORVIO_API uint16_t OV_GetTypeInfo(uint16_t typeCode, uint16_t dataFormat, char* name, char* unit);

/* ---- Identity, configuration and supervision -------------------------- */

/* Reads "$AA2" (first plain, then with checksum when the plain attempt
 * times out) and "$AAM". Writes address, typeCode, baudCode, checksum and
 * dataFormat before the second exchange: when that fails, those fields keep
 * their new values. Does not change the port's checksum flag. */
ORVIO_API uint16_t OV_GetConfig(uint16_t port, uint16_t address, OV_ModuleConfig* config);
/* Sends "%AANNTTCCFF"; config->model is not sent. */
ORVIO_API uint16_t OV_SetConfig(uint16_t port, uint16_t address, const OV_ModuleConfig* config);
ORVIO_API uint16_t OV_GetVersion(uint16_t port, uint16_t address, char* version);
ORVIO_API uint16_t OV_GetModuleName(uint16_t port, uint16_t address, char* name);
/* Broadcasts "#**" (synchronized sampling); no reply is read. */
ORVIO_API uint16_t OV_Sync(uint16_t port);
/* Collects the sampled data; a model without sync data returns OV_SUCCESS
 * at once without sending anything and without writing data. */
ORVIO_API uint16_t OV_ReadSyncData(uint16_t port, uint16_t address, char* data, uint16_t model);
ORVIO_API uint16_t OV_SoftReset(uint16_t port, uint16_t address);
ORVIO_API uint16_t OV_ResetStatus(uint16_t port, uint16_t address, uint16_t* status);
/* Broadcasts "~**" (host OK); no reply is read. */
ORVIO_API uint16_t OV_HostOK(uint16_t port);
ORVIO_API uint16_t OV_SetWDT(uint16_t port, uint16_t address, uint16_t enable,
                             uint16_t timeoutValue, uint16_t safeValue);
ORVIO_API uint16_t OV_GetWDT(uint16_t port, uint16_t address, uint16_t* enable,
                             uint16_t* timeoutValue, uint16_t* safeValue);
/* Safe-value codes: 0 "000", 1 "7FF", 2 "FFF". */
ORVIO_API uint16_t OV_SetWDT7342(uint16_t port, uint16_t address, uint16_t enable,
                                 uint16_t timeoutValue, uint16_t safeCode);
ORVIO_API uint16_t OV_GetWDT7342(uint16_t port, uint16_t address, uint16_t* enable,
                                 uint16_t* timeoutValue, uint16_t* safeCode);
/* Safe-value codes per channel: 0 "000", 1 "800", 2 "FFF". */
ORVIO_API uint16_t OV_SetWDT7347(uint16_t port, uint16_t address, uint16_t enable,
                                 uint16_t timeoutValue, uint16_t safeCode0, uint16_t safeCode1,
                                 uint16_t safeCode2, uint16_t safeCode3);
ORVIO_API uint16_t OV_GetWDT7347(uint16_t port, uint16_t address, uint16_t* enable,
                                 uint16_t* timeoutValue, uint16_t* safeCode0, uint16_t* safeCode1,
                                 uint16_t* safeCode2, uint16_t* safeCode3);
ORVIO_API uint16_t OV_ConfigLeadingCode(uint16_t port, uint16_t address, const char* code);
/* Sets the module's data-pass delimiter and, when it accepts, the one
 * OV_DataPass uses for this port and address. */
ORVIO_API uint16_t OV_SetDelimiter(uint16_t port, uint16_t address, char delimiter);
ORVIO_API uint16_t OV_GetDelimiter(uint16_t port, uint16_t address, char* delimiter);
ORVIO_API uint16_t OV_SetDeviceID(uint16_t port, uint16_t address, const char* id);
ORVIO_API uint16_t OV_GetDeviceID(uint16_t port, uint16_t address, char* id);
ORVIO_API uint16_t OV_SetRTS(uint16_t port, uint16_t address, uint16_t value);
ORVIO_API uint16_t OV_GetRTS(uint16_t port, uint16_t address, uint16_t* value);
ORVIO_API uint16_t OV_GetCTS(uint16_t port, uint16_t address, uint16_t* value);

/* ---- Analog I/O ---------------------------------------------------------- */

ORVIO_API uint16_t OV_ReadAI(uint16_t port, uint16_t address, char* value);
/* Three seven-character fields; each buffer holds 8 bytes. */
ORVIO_API uint16_t OV_ReadAllAI(uint16_t port, uint16_t address, char* value0, char* value1,
                                char* value2);
ORVIO_API uint16_t OV_ReadChanAI(uint16_t port, uint16_t address, uint16_t channel, char* value);
ORVIO_API uint16_t OV_SetMUXChans(uint16_t port, uint16_t address, uint16_t mask);
ORVIO_API uint16_t OV_ReadChanStatus(uint16_t port, uint16_t address, uint16_t* mask);
ORVIO_API uint16_t OV_ReadCJC(uint16_t port, uint16_t address, char* value);
/* Sends the value rounded to the nearest thousandth: "10.7" goes out as 10.700. */
ORVIO_API uint16_t OV_WriteAO(uint16_t port, uint16_t address, const char* value);
/* Channel 0 is sent as "A", 1 as "B", ...; the value text unchanged. */
ORVIO_API uint16_t OV_WriteChanAO(uint16_t port, uint16_t address, uint16_t channel,
                                  const char* value);
ORVIO_API uint16_t OV_ReadBackAO(uint16_t port, uint16_t address, char* value);
ORVIO_API uint16_t OV_ResetStatusAO(uint16_t port, uint16_t address, uint16_t* status);
ORVIO_API uint16_t OV_GetHighAlarmLimit(uint16_t port, uint16_t address, char* value);
ORVIO_API uint16_t OV_GetLowAlarmLimit(uint16_t port, uint16_t address, char* value);
ORVIO_API uint16_t OV_SetHighAlarmLimit(uint16_t port, uint16_t address, const char* value);
ORVIO_API uint16_t OV_SetLowAlarmLimit(uint16_t port, uint16_t address, const char* value);
ORVIO_API uint16_t OV_GetAlarmStatus(uint16_t port, uint16_t address, uint16_t* status);
/* Mode 1 momentary, any other latch. */
ORVIO_API uint16_t OV_EnableAlarm(uint16_t port, uint16_t address, uint16_t mode);
ORVIO_API uint16_t OV_DisableAlarm(uint16_t port, uint16_t address);
ORVIO_API uint16_t OV_ClearLatchAlarm(uint16_t port, uint16_t address);
ORVIO_API uint16_t OV_ReadEventCount(uint16_t port, uint16_t address, char* count);
ORVIO_API uint16_t OV_ResetEventCount(uint16_t port, uint16_t address);
/* Two seven-character fields; each buffer holds 8 bytes. */
ORVIO_API uint16_t OV_ReadMappingSource(uint16_t port, uint16_t address, char* low, char* high);
ORVIO_API uint16_t OV_ReadMappingTarget(uint16_t port, uint16_t address, char* low, char* high);
ORVIO_API uint16_t OV_WriteMappingSource(uint16_t port, uint16_t address, const char* low,
                                         const char* high);
ORVIO_API uint16_t OV_WriteMappingTarget(uint16_t port, uint16_t address, const char* low,
                                         const char* high);
ORVIO_API uint16_t OV_EnableLinearMapping(uint16_t port, uint16_t address, uint16_t flag);

/* ---- Digital I/O (model codes such as 7451; the 8xxx series alike) ------- */

/* group: 0 "L"/"A", 1 "H"/"B", 2 "C" for models 7458 and 7469; ignored for the
 * models without groups. */
ORVIO_API uint16_t OV_WriteDOPort(uint16_t port, uint16_t address, uint16_t group, uint16_t value,
                                  uint16_t model);
ORVIO_API uint16_t OV_WriteDOLine(uint16_t port, uint16_t address, uint16_t group, uint16_t line,
                                  uint16_t state, uint16_t model);
ORVIO_API uint16_t OV_ReadDI(uint16_t port, uint16_t address, uint32_t* value, uint16_t model);
ORVIO_API uint16_t OV_ReadBackDO(uint16_t port, uint16_t address, uint16_t* value, uint16_t model);
ORVIO_API uint16_t OV_SetDioMode(uint16_t port, uint16_t address, uint16_t mode);
ORVIO_API uint16_t OV_GetDioMode(uint16_t port, uint16_t address, uint16_t* mode);
ORVIO_API uint16_t OV_SetIoPolarity(uint16_t port, uint16_t address, uint16_t polarity);

/* ---- Counter and frequency (counter index 0 or 1) ------------------------ */

ORVIO_API uint16_t OV_ReadCtrValue(uint16_t port, uint16_t address, uint16_t counter,
                                   uint32_t* value);
ORVIO_API uint16_t OV_SetCtrInputMode(uint16_t port, uint16_t address, uint16_t mode);
ORVIO_API uint16_t OV_ReadCtrInputMode(uint16_t port, uint16_t address, uint16_t* mode);
ORVIO_API uint16_t OV_SetCtrGateMode(uint16_t port, uint16_t address, uint16_t mode);
ORVIO_API uint16_t OV_ReadCtrGateMode(uint16_t port, uint16_t address, uint16_t* mode);
ORVIO_API uint16_t OV_SetCtrMaxValue(uint16_t port, uint16_t address, uint16_t counter,
                                     uint32_t value);
ORVIO_API uint16_t OV_ReadCtrMaxValue(uint16_t port, uint16_t address, uint16_t counter,
                                      uint32_t* value);
ORVIO_API uint16_t OV_SetCtrInitialValue(uint16_t port, uint16_t address, uint16_t counter,
                                         uint32_t value);
ORVIO_API uint16_t OV_ReadCtrInitialValue(uint16_t port, uint16_t address, uint16_t counter,
                                          uint32_t* value);
ORVIO_API uint16_t OV_StartCtr(uint16_t port, uint16_t address, uint16_t counter, uint16_t run);
ORVIO_API uint16_t OV_ReadCtrStatus(uint16_t port, uint16_t address, uint16_t counter,
                                    uint16_t* status);
ORVIO_API uint16_t OV_ClearCtr(uint16_t port, uint16_t address, uint16_t counter);
ORVIO_API uint16_t OV_ReadCtrOverflowFlag(uint16_t port, uint16_t address, uint16_t counter,
                                          uint16_t* flag);
ORVIO_API uint16_t OV_EnableDigitalFilter(uint16_t port, uint16_t address, uint16_t flag);
ORVIO_API uint16_t OV_ReadFilterStatus(uint16_t port, uint16_t address, uint16_t* flag);
ORVIO_API uint16_t OV_SetMinWidthAtHigh(uint16_t port, uint16_t address, uint16_t width);
ORVIO_API uint16_t OV_ReadMinWidthAtHigh(uint16_t port, uint16_t address, uint16_t* width);
ORVIO_API uint16_t OV_SetMinWidthAtLow(uint16_t port, uint16_t address, uint16_t width);
ORVIO_API uint16_t OV_ReadMinWidthAtLow(uint16_t port, uint16_t address, uint16_t* width);
ORVIO_API uint16_t OV_SetTTLInputHigh(uint16_t port, uint16_t address, uint16_t level);
ORVIO_API uint16_t OV_ReadTTLInputHigh(uint16_t port, uint16_t address, uint16_t* level);
ORVIO_API uint16_t OV_SetTTLInputLow(uint16_t port, uint16_t address, uint16_t level);
ORVIO_API uint16_t OV_ReadTTLInputLow(uint16_t port, uint16_t address, uint16_t* level);
ORVIO_API uint16_t OV_EnableCtrAlarm(uint16_t port, uint16_t address, uint16_t alarm);
ORVIO_API uint16_t OV_DisableCtrAlarm(uint16_t port, uint16_t address, uint16_t alarm);
ORVIO_API uint16_t OV_GetCtrAlarmStatus(uint16_t port, uint16_t address, uint16_t counter,
                                        uint16_t* flag);
ORVIO_API uint16_t OV_SetCtrAlarmLimit(uint16_t port, uint16_t address, uint16_t counter,
                                       uint32_t limit);
ORVIO_API uint16_t OV_ReadCtrAlarmLimit(uint16_t port, uint16_t address, uint16_t counter,
                                        uint32_t* limit);

/* ---- Converter 7912 and data pass ---------------------------------------- */

/* Sends delimiter, address and text; the reply (30 bytes) ends with its
 * carriage return, or has the length set by OV_DataPassConfig. The reply is
 * not tested for "?". */
ORVIO_API uint16_t OV_DataPass(uint16_t port, uint16_t address, const char* text, char* reply);
/* Fixed reply length for OV_DataPass, 0 for a carriage-return-ended reply;
 * a length above 31 is refused. */
ORVIO_API uint16_t OV_DataPassConfig(uint16_t port, uint16_t address, uint16_t length);
ORVIO_API uint16_t OV_SetDataGate(uint16_t port, uint16_t address, uint16_t open);
ORVIO_API uint16_t OV_Get7912Config(uint16_t port, uint16_t address, OV_ConverterConfig* config);
ORVIO_API uint16_t OV_Set7912Config(uint16_t port, uint16_t address,
                                    const OV_ConverterConfig* config);

#ifdef __cplusplus
}
#endif

#endif /* ORVIO_H */
