#pragma once

namespace corvano {

// What a page may ask to use; the owner answers each request.
enum class WebPermission { Camera, Microphone, CameraAndMicrophone, Screen, Notifications, Location };

// Why a site's certificate was refused, as far as the user needs to know.
enum class CertificateProblem { WrongName, Date, Authority, Revoked, Other };

}  // namespace corvano
