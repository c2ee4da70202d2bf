#include "Capitals.h"

const std::vector<std::string>& capitals()
{
    static const std::vector<std::string> names = {
        "Kabul", "Tirana", "Algiers", "Andorra la Vella", "Luanda", "St. John's", "Buenos Aires",
        "Yerevan", "Canberra", "Vienna", "Baku", "Nassau", "Manama", "Dhaka", "Bridgetown", "Minsk",
        "Brussels", "Belmopan", "Porto Novo", "Thimphu", "Sucre", "Sarajevo", "Gaborone", "Brasilia",
        "Bandar Seri Begawan", "Sofia", "Ouagadougou", "Bujumbura", "Phnom Penh", "Yaoundé", "Ottawa",
        "Praia", "Bangui", "N'Djamena", "Santiago", "Beijing", "Bogota", "Moroni", "San José",
        "Zagreb", "Havana", "Nicosia", "Prague", "Kinshasa", "Copenagen", "Djibouti", "Roseau",
        "Santo Domingo", "Dili", "Quito", "Cairo", "San Salvador", "Malabo", "Asmara", "Tallinn",
        "Mbabane", "Addis Ababa", "Suva", "Helsinki", "Paris", "Libreville", "Banjul", "Tbilisi",
        "Berlin", "Accra", "Athens", "St. George's", "Guatemala City", "Conakry", "Bissau",
        "Georgetown", "Port-au-Prince", "Tegucigalpa", "Budapest", "Reykjavík", "New Delhi",
        "Jakarta", "Tehran", "Baghdad", "Dublin", "Jerusalem", "Rome", "Yamoussoukro", "Kingston",
        "Tokyo", "Amman", "Astana", "Nairobi", "Tarawa", "Pyongyang", "Seoul", "Pristina",
        "Kuwait City", "Bishkek", "Vientiane", "Riga", "Beirut", "Maseru", "Monrovia", "Tripoli",
        "Vaduz", "Vilnius", "Luxembourg", "Antananarivo", "Lilongwe", "Kuala Lumpur", "Malé",
        "Bamako", "Valletta", "Majuro", "Nouakchott", "Port Louis", "Mexico City", "Palikir",
        "Chisinau", "Monaco", "Ulaanbaatar", "Podgorica", "Rabat", "Maputo", "Naypyidaw", "Windhoek",
        "Yaren", "Kathmandu", "Amsterdam", "Wellington", "Managua", "Niamey", "Abuja", "Skopje",
        "Oslo", "Muscat", "Islamabad", "Melekeok", "East Jerusalem", "Panama City", "Port Moresby",
        "Asunción", "Lima", "Manila", "Warsaw", "Lisbon", "Doha", "Brazzaville", "Bucharest",
        "Moscow", "Kigali", "Basseterre", "Castries", "Kingstown", "Apia", "San Marino", "São Tomé",
        "Riyadh", "Dakar", "Belgrade", "Victoria", "Freetown", "Singapore", "Bratislava", "Ljubljana",
        "Honiara", "Mogadishu", "Pretoria", "Juba", "Madrid", "Sri Jayawardenapura Kotte", "Khartoum",
        "Paramaribo", "Stockholm", "Bern", "Damascus", "Taipei", "Dushanbe", "Dodoma", "Bangkok",
        "Lomé", "Nukualofa", "Port of Spain", "Tunis", "Ankara", "Ashgabat", "Funafuti", "Kampala",
        "Kiev", "Abu Dhabi", "London", "Washington D.C.", "Montevideo", "Tashkent", "Port Vila",
        "Vatican City", "Caracas", "Hanoi", "Sana'a", "Lusaka", "Harare",
    };
    return names;
}
