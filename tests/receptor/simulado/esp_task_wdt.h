// The task watchdog of the stand-in Arduino API (ESP-IDF 5, core 3).
#pragma once

#include "Arduino.h"

using esp_err_t = int;
constexpr esp_err_t ESP_OK = 0;

struct esp_task_wdt_config_t {
    std::uint32_t timeout_ms;
    std::uint32_t idle_core_mask;
    bool trigger_panic;
};

inline esp_err_t esp_task_wdt_init(const esp_task_wdt_config_t*)
{
    simulado::Placa().VigilanteArmado = true;
    return ESP_OK;
}
inline esp_err_t esp_task_wdt_reconfigure(const esp_task_wdt_config_t*)
{
    return ESP_OK;
}
inline esp_err_t esp_task_wdt_add(void*)
{
    return ESP_OK;
}
inline esp_err_t esp_task_wdt_reset()
{
    ++simulado::Placa().Alimentado;
    return ESP_OK;
}
