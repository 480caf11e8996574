#!/usr/bin/env python3
"""Finds the modules at addresses 0 to N on one port and reads one value from
each analog input module, calling liborvio through ctypes.

    orvio_scan.py [COM-number [last-address]]     (defaults: 1 and 31)

The library is loaded from $ORVIO_LIBRARY when set, else as liborvio.so.1
from the library path; it must be version 1.1 or later (OV_GetErrorText).
"""
import ctypes
import os
import sys

OV_BAUD_9600 = 6
OV_PARITY_NONE = 0

# Single-channel analog inputs (multi-function models) and multi-channel ones,
# by characters 2 to 4 of the model name.
SINGLE_CHANNEL = {"213", "215", "228"}
MULTI_CHANNEL = {"226", "231", "234"}


class ModuleConfig(ctypes.Structure):
    _fields_ = [(name, ctypes.c_uint16) for name in
                ("address", "model", "typeCode", "baudCode", "checksum", "dataFormat")]


def load_library():
    lib = ctypes.CDLL(os.environ.get("ORVIO_LIBRARY", "liborvio.so.1"))
    u16, text = ctypes.c_uint16, ctypes.c_char_p
    signatures = {
        "OV_TimeOut": [u16, ctypes.c_int16],
        "OV_InitialComm": [u16, u16, u16, u16, u16],
        "OV_ReleaseComm": [u16],
        "OV_EnableChecksum": [u16],
        "OV_DisableChecksum": [u16],
        "OV_GetConfig": [u16, u16, ctypes.POINTER(ModuleConfig)],
        "OV_GetModuleName": [u16, u16, text],
        "OV_ReadAI": [u16, u16, text],
        "OV_ReadChanAI": [u16, u16, u16, text],
        "OV_GetErrorText": [u16, text, u16],
    }
    for name, argtypes in signatures.items():
        function = getattr(lib, name)
        function.argtypes = argtypes
        function.restype = u16
    return lib


def failed(status):
    """Every failure is negative when the status is read as signed."""
    return status >= 0x8000


def failure_text(lib, port):
    """What went wrong on the port: "no such device", "in use by another
    program" and "permission denied" all return the same status."""
    text = ctypes.create_string_buffer(256)
    lib.OV_GetErrorText(port, text, len(text))
    return text.value.decode("utf-8", "replace")


def family_key(name):
    return name.strip()[1:4]


def show_module(lib, port, address, config):
    if config.checksum:
        lib.OV_EnableChecksum(port)
    else:
        lib.OV_DisableChecksum(port)
    name = ctypes.create_string_buffer(30)
    status = lib.OV_GetModuleName(port, address, name)
    if failed(status):
        print(f"{address:02X}: no name (status 0x{status:04x}: {failure_text(lib, port)})")
        return
    model = name.value.decode("ascii", "replace")
    line = (f"{address:02X}: model {model}, type {config.typeCode:02X}, "
            f"checksum {'on' if config.checksum else 'off'}")
    key = family_key(model)
    if key in SINGLE_CHANNEL or key in MULTI_CHANNEL:
        value = ctypes.create_string_buffer(30)
        if key in SINGLE_CHANNEL:
            status = lib.OV_ReadAI(port, address, value)
        else:
            status = lib.OV_ReadChanAI(port, address, 0, value)
        if failed(status):
            line += f", reading failed (status 0x{status:04x}: {failure_text(lib, port)})"
        else:
            line += f", value {value.value.decode('ascii', 'replace')}"
    print(line)


def main(argv):
    port = int(argv[1]) if len(argv) > 1 else 1
    last = int(argv[2]) if len(argv) > 2 else 31
    lib = load_library()
    lib.OV_TimeOut(port, 100)
    status = lib.OV_InitialComm(port, OV_BAUD_9600, 8, OV_PARITY_NONE, 0)
    if failed(status):
        print(f"orvio_scan: cannot open COM{port} (status 0x{status:04x}): "
              f"{failure_text(lib, port)}", file=sys.stderr)
        return 1
    found = 0
    try:
        for address in range(0, min(last, 255) + 1):
            config = ModuleConfig()
            if failed(lib.OV_GetConfig(port, address, ctypes.byref(config))):
                continue
            show_module(lib, port, address, config)
            found += 1
    finally:
        lib.OV_ReleaseComm(port)
    print(f"{found} module(s) found")
    return 0 if found else 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
