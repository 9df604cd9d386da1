// OSC packets built with liblo, as a sending app would make them.
#pragma once

#include <lo/lo.h>

#include <string>
#include <vector>

// A liblo message filled by the caller, serialised for 'direccion'.
std::vector<unsigned char> Serializar(const std::string& direccion, lo_message mensaje);

// A message of floats only (the common case of the maps).
std::vector<unsigned char> MensajeFloats(const std::string& direccion, const std::vector<float>& valores);
