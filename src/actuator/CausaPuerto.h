// Why a port library could not reach the parallel port: the answer of the
// optional export CausaPuertoCerrado, shared by our libinpout32.so and the
// actuator that reads it. The values are part of the library's interface.
#pragma once

enum TCausaPuerto : int {
    cpNinguna = 0, // the port is open
    cpSinPuerto = 1, // the kernel knows no parallel port at the address
    cpSinDispositivo = 2, // the port is there but has no /dev/parportN (ppdev not loaded)
    cpSinPermiso = 3, // /dev/parportN refused to open: no permission
    cpDispositivoFallido = 4, // /dev/parportN could not be opened or claimed for another reason
};
