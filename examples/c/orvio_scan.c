/*
 * orvio_scan: finds the modules at addresses 0 to N on one port and reads one
 * value from each analog input module.
 *
 *   orvio_scan [COM-number [last-address]]     (defaults: 1 and 31)
 *   orvio_scan PORT-NAME [last-address]
 *
 * The port is opened at 9600 bps; COM n is the device ports.conf names for it
 * (see docs/orvio.md). A PORT-NAME (a device path, or a line on a device
 * server such as rfc2217://192.168.1.50:7001) is given to COM1 with
 * OV_SetPortName instead. Needs liborvio 1.1 (OV_GetErrorText).
 */
#include <orvio.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failed(uint16_t status) { return (int16_t)status < 0; }

/* What went wrong on the port, as the library tells it: "no such device",
 * "in use by another program" and "permission denied" all return OV_REFUSED
 * from OV_InitialComm. */
static const char* failureText(uint16_t port) {
  static char text[256];
  OV_GetErrorText(port, text, sizeof text);
  return text;
}

/* Analog input models: the multi-function ones (one channel) and the plain
 * ones (3 or 8 channels, read one by one). The family is decided by
 * characters 2 to 4 of the name. */
static int analogChannels(const char* name) {
  static const char* const single[] = {"213", "215", "228"};
  static const char* const multi[] = {"226", "231", "234"};
  char key[4] = {0};
  size_t i;
  while (*name == ' ') ++name;
  if (strlen(name) < 4) return 0;
  memcpy(key, name + 1, 3);
  for (i = 0; i < 3; ++i)
    if (strcmp(key, single[i]) == 0) return 1;
  for (i = 0; i < 3; ++i)
    if (strcmp(key, multi[i]) == 0) return 2;
  return 0;
}

static void showModule(uint16_t port, uint16_t address, const OV_ModuleConfig* config) {
  char name[30] = "";
  char value[30] = "";
  uint16_t status;
  int kind;

  /* Talk to the module the way it is set up. */
  if (config->checksum)
    OV_EnableChecksum(port);
  else
    OV_DisableChecksum(port);

  status = OV_GetModuleName(port, address, name);
  if (failed(status)) {
    printf("%02X: no name (status 0x%04x: %s)\n", address, status, failureText(port));
    return;
  }
  printf("%02X: model %s, type %02X, checksum %s", address, name, config->typeCode,
         config->checksum ? "on" : "off");
  kind = analogChannels(name);
  if (kind == 0) {
    printf("\n");
    return;
  }
  status = kind == 1 ? OV_ReadAI(port, address, value) : OV_ReadChanAI(port, address, 0, value);
  if (failed(status))
    printf(", reading failed (status 0x%04x: %s)\n", status, failureText(port));
  else
    printf(", value %s\n", value);
}

/* A COM number is digits only; anything else names the port. */
static int isComNumber(const char* text) {
  if (*text == '\0') return 0;
  for (; *text; ++text)
    if (*text < '0' || *text > '9') return 0;
  return 1;
}

int main(int argc, char** argv) {
  uint16_t port = 1;
  int last = argc > 2 ? atoi(argv[2]) : 31;
  int address, found = 0;
  uint16_t status;

  if (argc > 1 && isComNumber(argv[1])) {
    port = (uint16_t)atoi(argv[1]);
  } else if (argc > 1) {
    status = OV_SetPortName(port, argv[1]);
    if (failed(status)) {
      fprintf(stderr, "orvio_scan: %s\n", failureText(port));
      return 1;
    }
  }

  OV_TimeOut(port, 100);
  status = OV_InitialComm(port, OV_BAUD_9600, 8, OV_PARITY_NONE, 0);
  if (failed(status)) {
    fprintf(stderr, "orvio_scan: cannot open COM%u (status 0x%04x): %s\n", port, status,
            failureText(port));
    return 1;
  }
  for (address = 0; address <= last && address <= 255; ++address) {
    OV_ModuleConfig config;
    if (failed(OV_GetConfig(port, (uint16_t)address, &config))) continue;
    showModule(port, (uint16_t)address, &config);
    ++found;
  }
  printf("%d module(s) found\n", found);
  OV_ReleaseComm(port);
  return found > 0 ? 0 : 2;
}
